// The toolkit services on Qt Widgets.
#ifndef UNITS_DIALOGS_QT_TOOLKIT_SERVICES_H_
#define UNITS_DIALOGS_QT_TOOLKIT_SERVICES_H_

#include "dialogs/toolkit_services.h"

namespace units {
namespace dialogs {

class QtToolkitServices : public ToolkitServices {
 public:
  void ShowMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                   Placement placement) override;
  QString OpenFileName(QWidget* owner, const FileType& type) override;
  QString SaveFileName(QWidget* owner, const FileType& type) override;
  void BringToFront(QWidget* window) override;
};

}  // namespace dialogs
}  // namespace units

#endif  // UNITS_DIALOGS_QT_TOOLKIT_SERVICES_H_
