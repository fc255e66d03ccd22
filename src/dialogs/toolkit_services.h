// The toolkit services that block: message boxes, file dialogs and bringing
// a window to the front. Dialogs call them only through this interface, so
// tests answer them from a script instead of a user.
#ifndef UNITS_DIALOGS_TOOLKIT_SERVICES_H_
#define UNITS_DIALOGS_TOOLKIT_SERVICES_H_

#include <QString>

class QWidget;

namespace units {
namespace dialogs {

// A file type offered by a file dialog, e.g. "Unit Data Files (*.UDF)|*.UDF"
// with the default extension ".UDF".
struct FileType {
  QString filter;
  QString default_extension;
};

class ToolkitServices {
 public:
  enum class Icon { kNone, kWarning };
  // How the box stands to other windows: kept on top of them, or brought to
  // the foreground once.
  enum class Placement { kForeground, kOnTop };

  virtual ~ToolkitServices() = default;

  // A message box with an OK button; `owner` may be null (no owner window).
  virtual void ShowMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                           Placement placement) = 0;
  // The chosen path of an existing file, or an empty text when cancelled.
  virtual QString OpenFileName(QWidget* owner, const FileType& type) = 0;
  // The chosen path to save to (overwriting asked for), or empty.
  virtual QString SaveFileName(QWidget* owner, const FileType& type) = 0;
  // Brings a top-level window to the foreground; null is ignored.
  virtual void BringToFront(QWidget* window) = 0;
};

}  // namespace dialogs
}  // namespace units

#endif  // UNITS_DIALOGS_TOOLKIT_SERVICES_H_
