#pragma once
// Gives every visible report application a report window: the window follows the application's
// workbook as the report is written, and closing the window closes the application.

#include <QObject>
#include <memory>

#include "data/number_format.h"
#include "platform/gui/error_box.h"

namespace ore::gui {

// Installs the hook that watches every application the automation layer creates; an
// application that becomes visible gets its window. Lives as long as the program's windows.
class ReportWindows {
 public:
  ReportWindows(ErrorBox& errors, const NumberFormat& fmt);
  ~ReportWindows();
  ReportWindows(const ReportWindows&) = delete;
  ReportWindows& operator=(const ReportWindows&) = delete;

 private:
  std::unique_ptr<QObject> owner_;  // parent of one watcher per application
};

}  // namespace ore::gui
