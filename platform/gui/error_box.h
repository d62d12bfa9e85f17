#pragma once
// The application-wide error message box and the guard every handler runs under: a handler
// throws, the guard shows the message, the program goes on.

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace ore::gui {

// Where failure messages go. The program shows a message box; tests record the texts.
class ErrorBox {
 public:
  virtual ~ErrorBox() = default;
  virtual void show(const std::string& message) = 0;
};

// The message box of the running program (modal, one button).
class MessageBoxErrorBox : public ErrorBox {
 public:
  void show(const std::string& message) override;
};

// Runs work; any exception's message goes to box. Never lets an exception out.
void guarded(ErrorBox& box, const std::function<void()>& work);

// For failures that would repeat at every tick or paint: shows a message only when it differs
// from the last one shown; reset() after a success so the same failure is shown again later.
class OnceBox {
 public:
  explicit OnceBox(ErrorBox& box) : box_(box) {}
  void run(const std::function<void()>& work);
  void reset() { last_.clear(); }

 private:
  ErrorBox& box_;
  std::string last_;
};

}  // namespace ore::gui
