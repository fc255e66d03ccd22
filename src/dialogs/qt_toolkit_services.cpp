#include "dialogs/qt_toolkit_services.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

namespace units {
namespace dialogs {
namespace {

// "Unit Data Files (*.UDF)|*.UDF" names the type before the bar; Qt wants
// the name with its pattern in brackets, which is the part before the bar.
QString QtFilter(const FileType& type) { return type.filter.section(QLatin1Char('|'), 0, 0); }

// The toolkit's own dialog: a native one is no QWidget, cannot be parented
// to a foreign window and can hang a host without a session bus. Qt's dialog
// has no read-only check box to hide; the default suffix is added before the
// overwrite question, so the question names the file that is written.
QString RunFileDialog(QWidget* owner, const FileType& type, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(owner, QString(), QString(), QtFilter(type));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(type.default_extension.mid(1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

}  // namespace

void QtToolkitServices::ShowMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                                    Placement placement) {
  QMessageBox box(icon == Icon::kWarning ? QMessageBox::Warning : QMessageBox::NoIcon, caption, text,
                  QMessageBox::Ok, owner);
  if (placement == Placement::kOnTop) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.show();
  box.raise();
  box.activateWindow();
  box.exec();
}

QString QtToolkitServices::OpenFileName(QWidget* owner, const FileType& type) {
  return RunFileDialog(owner, type, QFileDialog::AcceptOpen);
}

QString QtToolkitServices::SaveFileName(QWidget* owner, const FileType& type) {
  return RunFileDialog(owner, type, QFileDialog::AcceptSave);
}

void QtToolkitServices::BringToFront(QWidget* window) {
  if (window == nullptr) return;
  window->raise();
  window->activateWindow();
}

}  // namespace dialogs
}  // namespace units
