// What the dialog suites share: a scripted toolkit that answers message
// boxes and file dialogs, a context like the library's, screenshots and the
// check that every text fits its control.
//
// Every suite runs twice under CTest, with UNITS_LANG=C and UNITS_LANG=de,
// on the offscreen platform; a test that compares a caption compares it
// with the translation service's answer, so it holds in both languages.
#ifndef UNITS_TESTS_DIALOGS_DIALOG_TEST_SUPPORT_H_
#define UNITS_TESTS_DIALOGS_DIALOG_TEST_SUPPORT_H_

#include <QStringList>
#include <QWidget>

#include <deque>
#include <string>
#include <vector>

#include "dialogs/dialog_context.h"

namespace units {
namespace dialogs {
namespace testing {

class ScriptedToolkit : public ToolkitServices {
 public:
  struct Message {
    QWidget* owner;
    QString text;
    QString caption;
    Icon icon;
    Placement placement;
  };

  void ShowMessage(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                   Placement placement) override {
    messages.push_back({owner, text, caption, icon, placement});
  }
  // Answers with the next scripted path; an empty path (or none left) is a
  // cancelled dialog.
  QString OpenFileName(QWidget*, const FileType& type) override { return NextPath(type); }
  QString SaveFileName(QWidget*, const FileType& type) override { return NextPath(type); }
  void BringToFront(QWidget* window) override { brought_to_front.push_back(window); }

  std::vector<Message> messages;
  std::deque<QString> paths;
  std::vector<FileType> file_types;
  std::vector<QWidget*> brought_to_front;

 private:
  QString NextPath(const FileType& type) {
    file_types.push_back(type);
    if (paths.empty()) return QString();
    QString path = paths.front();
    paths.pop_front();
    return path;
  }
};

// The library's settings with the font holder's fonts in `edit_mode`.
DialogContext TestContext(ToolkitServices* toolkit, int32_t edit_mode = 1, uint16_t text_mode = 0);

// Shows `widget` (not modally), waits until it is exposed and lays it out.
void ShowForTest(QWidget* widget);

// Saves a picture of `widget` as <screenshot folder>/<name>_<language>.png
// (language "en" or "de").
void SaveScreenshot(QWidget* widget, const char* name);

// Texts of labels, buttons, check and radio buttons inside `dialog` that
// are wider than their control: empty when everything fits.
QStringList TextsThatDoNotFit(QWidget* dialog);

// Types `text` into `edit` with key events, as a user would (any characters).
void TypeInto(QWidget* edit, const QString& text);

}  // namespace testing
}  // namespace dialogs
}  // namespace units

#endif  // UNITS_TESTS_DIALOGS_DIALOG_TEST_SUPPORT_H_
