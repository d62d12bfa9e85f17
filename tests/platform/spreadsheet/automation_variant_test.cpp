#include <gtest/gtest.h>

#include "data/errors.h"
#include "platform/spreadsheet/automation.h"
#include "platform/spreadsheet/excel_application.h"

namespace ore::automation {
namespace {

Variant anObject() {
  return Variant::fromObject(std::make_shared<ExcelApplication>());
}

TEST(VariantTest, KindsAndTypeNames) {
  struct Case {
    Variant v;
    Variant::Kind kind;
    const char* name;
  };
  const Case cases[] = {
      {Variant(), Variant::Kind::Empty, "Empty"},
      {Variant(2.5), Variant::Kind::Double, "Double"},
      {Variant(3), Variant::Kind::Double, "Double"},
      {Variant(std::int64_t{1} << 40), Variant::Kind::Double, "Double"},
      {Variant(true), Variant::Kind::Bool, "Boolean"},
      {Variant::fromDate(43831), Variant::Kind::Date, "Date"},
      {Variant("abc"), Variant::Kind::Text, "OleStr"},
      {Variant(std::string("x")), Variant::Kind::Text, "OleStr"},
      {anObject(), Variant::Kind::Object, "Dispatch"},
      {Variant::fromObject(nullptr), Variant::Kind::Empty, "Empty"},
      {Variant::fromError("#N/A"), Variant::Kind::Error, "Error"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.v.kind(), c.kind) << c.name;
    EXPECT_STREQ(c.v.typeName(), c.name);
  }
}

TEST(VariantTest, ToDouble) {
  struct Case {
    const char* what;
    Variant v;
    char sep;
    double expected;
    const char* failure;  // the message when it fails, else nullptr
  };
  const char* kText = "Could not convert variant of type (OleStr) into type (Double)";
  const Case cases[] = {
      {"empty", Variant(), ',', 0, nullptr},
      {"double", Variant(2.5), ',', 2.5, nullptr},
      {"negative zero", Variant(-0.0), ',', -0.0, nullptr},
      {"date", Variant::fromDate(43831.25), ',', 43831.25, nullptr},
      {"true", Variant(true), ',', -1, nullptr},
      {"false", Variant(false), ',', 0, nullptr},
      {"comma text", Variant("12,5"), ',', 12.5, nullptr},
      {"blanks around", Variant(" 7,25 "), ',', 7.25, nullptr},
      {"exponent", Variant("1,5E-3"), ',', 0.0015, nullptr},
      {"lower-case exponent and sign", Variant("-2e2"), ',', -200, nullptr},
      {"nearest double", Variant("0,1"), ',', 0.1, nullptr},
      {"point under a point locale", Variant("12.5"), '.', 12.5, nullptr},
      {"point under a comma locale", Variant("12.5"), ',', 0, kText},
      {"empty text", Variant(""), ',', 0, kText},
      {"letters", Variant("1.5x"), ',', 0, kText},
      {"two separators", Variant("1,2,3"), ',', 0, kText},
      {"beyond double range", Variant("1E400"), ',', 0, kText},
      {"error value", Variant::fromError("#DIV/0!"), ',', 0,
       "Could not convert variant of type (Error) into type (Double)"},
      {"object", anObject(), ',', 0,
       "Could not convert variant of type (Dispatch) into type (Double)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    NumberFormat fmt(c.sep);
    if (!c.failure) {
      EXPECT_EQ(c.v.toDouble(fmt), c.expected);
      continue;
    }
    try {
      c.v.toDouble(fmt);
      ADD_FAILURE() << "converted";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), c.failure);
    }
  }
}

TEST(VariantTest, ToTextAndTheEndOfDataTest) {
  struct Case {
    const char* what;
    Variant v;
    const char* expected;  // nullptr: fails
  };
  const Case cases[] = {
      {"empty", Variant(), ""},
      {"empty text", Variant(""), ""},
      {"blank", Variant(" "), " "},
      {"text", Variant("Проба"), "Проба"},
      {"double", Variant(12.5), "12,5"},
      {"zero", Variant(0.0), "0"},
      {"small", Variant(0.000012), "1,2E-5"},
      {"true", Variant(true), "True"},
      {"false", Variant(false), "False"},
      {"date", Variant::fromDate(43831), "01.01.2020"},
      {"date and time", Variant::fromDate(43831.75), "01.01.2020 18:00:00"},
      {"day 0", Variant::fromDate(0), "30.12.1899"},
      {"leap day", Variant::fromDate(43890), "29.02.2020"},
      {"error", Variant::fromError("#N/A"), nullptr},
      {"object", anObject(), nullptr},
  };
  NumberFormat fmt(',');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.expected) {
      EXPECT_EQ(c.v.toText(fmt), c.expected);
      EXPECT_EQ(c.v.isEmptyText(), std::string(c.expected).empty());
      continue;
    }
    std::string message = std::string("Could not convert variant of type (") + c.v.typeName() +
                          ") into type (OleStr)";
    for (int i = 0; i < 2; ++i) {
      try {
        if (i == 0)
          c.v.toText(fmt);
        else
          c.v.isEmptyText();
        ADD_FAILURE() << "converted";
      } catch (const Error& e) {
        EXPECT_EQ(e.what(), message);
      }
    }
  }
}

TEST(VariantTest, MemberCallsNeedAnObject) {
  for (const Variant& v : {Variant(), Variant(1.0), Variant("excel.application")}) {
    try {
      v.get("workbooks");
      ADD_FAILURE() << "called on " << v.typeName();
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Invalid variant operation");
    }
    EXPECT_THROW(v.put("visible", {}, Variant(true)), Error);
    EXPECT_THROW(v.toObject(), Error);
  }
}

TEST(CreateObjectTest, KnowsTheSpreadsheetApplicationOnly) {
  auto app = createObject("Excel.Application");
  ASSERT_NE(std::dynamic_pointer_cast<ExcelApplication>(app), nullptr);
  try {
    createObject("word.application");
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 "Не удается создать объект автоматизации «word.application»: такой программный "
                 "идентификатор не зарегистрирован");
  }
}

TEST(CreateObjectTest, AFactoryTellsItsMakerOfEveryNewApplicationAndKeepsNone) {
  std::vector<std::weak_ptr<ExcelApplication>> seen;
  const ObjectFactory make =
      objectFactory([&](const std::shared_ptr<ExcelApplication>& app) { seen.push_back(app); });
  auto a = make("excel.application");
  auto b = make("Excel.Application");
  EXPECT_THROW(make("word.application"), Error);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].lock(), a);
  EXPECT_EQ(seen[1].lock(), b);
  a.reset();
  EXPECT_TRUE(seen[0].expired()) << "the factory keeps no reference";
  createObject("excel.application");
  EXPECT_EQ(seen.size(), 2u) << "only the factory's own applications are told";
}

}  // namespace
}  // namespace ore::automation
