#include "platform/gui/report_bridge.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "platform/gui/report_window.h"
#include "platform/gui/show_in_front.h"
#include "platform/spreadsheet/automation.h"
#include "platform/spreadsheet/excel_application.h"

namespace ore::gui {

namespace {

// Watches one application. Until it becomes visible it holds it weakly, so an import's invisible
// application goes away when the import lets it go; once visible, the window keeps it alive
// (the report stays with the user when the program starts a new one).
class ReportBridge : public QObject, public ExcelApplication::Observer {
 public:
  ReportBridge(QObject* owner, const std::shared_ptr<ExcelApplication>& app, ErrorBox& errors,
               const NumberFormat& fmt)
      : QObject(owner), weak_(app), raw_(app.get()), errors_(errors), fmt_(fmt) {
    app->addObserver(this);
    // An application that is not made visible within the handler that created it is the
    // import's: forget it once that handler is over.
    QTimer::singleShot(0, this, [this] {
      if (!strong_) deleteLater();
    });
  }

  ~ReportBridge() override {
    if (window_) {
      window_->setWorkbook(nullptr, {});
      delete window_;
    }
    if (auto app = weak_.lock()) app->removeObserver(this);
  }

  ReportWindow* window() const { return window_; }

  void visibilityChanged(bool visible) override {
    if (!visible) {
      if (window_) window_->hide();
      return;
    }
    strong_ = weak_.lock();
    if (!window_) makeWindow();
    showInFront(window_);
  }

  void workbookAdded(int book) override {
    if (window_) showBook(book);
  }

  void workbooksClosed() override {
    if (window_) window_->setWorkbook(nullptr, {});
  }

  void sheetAdded(int book, int) override { refresh(book); }
  void sheetRenamed(int book, int) override { refresh(book); }

  void activeSheetChanged(int book, int sheet) override {
    if (window_ && book == raw_->activeWorkbook()) window_->setActiveSheet(sheet - 1);
  }

  void cellWritten(int book, int sheet, std::int64_t row, std::int64_t col) override {
    if (window_ && book == shownBook_)
      window_->cellWritten(sheet - 1, static_cast<int>(row), static_cast<int>(col));
    // Every export into the report ends with the report in front, also when it was already
    // visible behind the results (or minimised): once, after the handler that writes.
    if (window_ && !frontPending_) {
      frontPending_ = true;
      QTimer::singleShot(0, this, [this] {
        frontPending_ = false;
        if (window_ && window_->isVisible()) showInFront(window_);
      });
    }
  }

 private:
  void makeWindow() {
    window_ = new ReportWindow(errors_, fmt_);
    window_->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window_, &ReportWindow::activeSheetChosen, this, [this](int sheet) {
      if (strong_ && !strong_->hasQuit() && shownBook_ > 0) {
        guarded(errors_, [&] {
          strong_->setActiveWorkbook(shownBook_);
          strong_->setActiveSheet(sheet + 1);
        });
      }
    });
    QObject::connect(window_, &ReportWindow::closed, this, [this] {
      // The user closed the report: the program's next write into it fails with a clear message.
      window_ = nullptr;
      if (strong_) strong_->quit();
      strong_.reset();
      deleteLater();
    });
    if (raw_->activeWorkbook() > 0) showBook(raw_->activeWorkbook());
  }

  void showBook(int book) {
    shownBook_ = book;
    window_->setWorkbook(&raw_->workbook(book), QString::fromStdString(raw_->workbookName(book)));
    window_->setActiveSheet(raw_->activeSheet() - 1);
  }

  void refresh(int book) {
    if (window_ && book == shownBook_) window_->workbookChanged();
  }

  std::weak_ptr<ExcelApplication> weak_;
  std::shared_ptr<ExcelApplication> strong_;
  ExcelApplication* raw_;  // valid while weak_ or strong_ says the application lives
  ErrorBox& errors_;
  NumberFormat fmt_;
  QPointer<ReportWindow> window_;
  int shownBook_ = 0;
  bool frontPending_ = false;
};

}  // namespace

ReportWindows::ReportWindows(ErrorBox& errors, const NumberFormat& fmt)
    : errors_(errors),
      fmt_(fmt),
      books_(std::make_shared<BookCounter>()),
      owner_(std::make_unique<QObject>()) {}

automation::ObjectFactory ReportWindows::objectFactory() {
  return automation::objectFactory([owner = owner_.get(), &errors = errors_, fmt = fmt_,
                                    books = books_](const std::shared_ptr<ExcelApplication>& app) {
    app->shareBookCounter(books);
    new ReportBridge(owner, app, errors, fmt);
  });
}

bool ReportWindows::confirmCloseAll() const {
  std::vector<ReportWindow*> windows;
  for (QObject* child : owner_->children())  // in the order the applications were made
    if (auto* bridge = dynamic_cast<ReportBridge*>(child); bridge && bridge->window())
      windows.push_back(bridge->window());
  return ReportWindow::confirmCloseAll(windows);
}

// The report windows close with the program's windows (their question about saving was asked
// when the main window closed).
ReportWindows::~ReportWindows() {
  owner_.reset();
}

}  // namespace ore::gui
