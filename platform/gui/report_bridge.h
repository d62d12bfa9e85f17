#pragma once
// Gives every visible report application a report window: the window follows the application's
// workbook as the report is written, and closing the window closes the application.

#include <QObject>
#include <memory>

#include "data/number_format.h"
#include "platform/gui/error_box.h"
#include "platform/spreadsheet/automation.h"
#include "platform/spreadsheet/excel_application.h"

namespace ore::gui {

// Watches every application its factory makes; an application that becomes visible gets its
// window. Lives as long as the program's windows; the factory must not be used after it.
class ReportWindows {
 public:
  ReportWindows(ErrorBox& errors, const NumberFormat& fmt);

  // Makes objects as automation::createObject does, watching each application.
  automation::ObjectFactory objectFactory();
  // For the program's close: asks about every unsaved report, oldest first (see
  // ReportWindow::confirmCloseAll).
  bool confirmCloseAll() const;
  ~ReportWindows();
  ReportWindows(const ReportWindows&) = delete;
  ReportWindows& operator=(const ReportWindows&) = delete;

 private:
  ErrorBox& errors_;
  NumberFormat fmt_;
  // One numbering for the workbooks of all the applications made: "Книга1", then "Книга2".
  std::shared_ptr<BookCounter> books_;
  std::unique_ptr<QObject> owner_;  // parent of one watcher per application
};

}  // namespace ore::gui
