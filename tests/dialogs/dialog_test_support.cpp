#include "dialog_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

#include <cstdlib>

#include <gtest/gtest.h>

#include "dialogs/fonts.h"

namespace units {
namespace dialogs {
namespace testing {

DialogContext TestContext(ToolkitServices* toolkit, int32_t edit_mode, uint16_t text_mode) {
  DialogContext context;
  context.toolkit = toolkit;
  context.settings.edit_mode = edit_mode;
  context.settings.text_mode = text_mode;
  context.settings.has_fonts = true;
  // What the font holder keeps at attach: stored Windows face names, height 15.
  context.settings.dialog_font = FontSpec{"MS Sans Serif", 15};
  context.settings.symbol_font = FontSpec{text_mode == 0 ? "Ardelin" : "MS Sans Serif", 15};
  return context;
}

void ShowForTest(QWidget* widget) {
  widget->show();
  widget->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(widget));
  QApplication::processEvents();
}

namespace {

QString LanguageTag() {
  const char* language = std::getenv("UNITS_LANG");
  return language != nullptr && std::string(language).rfind("de", 0) == 0 ? QStringLiteral("de") : QStringLiteral("en");
}

// Text of a control that draws one line of text, and the width it has.
bool ControlText(QWidget* widget, QString* text, int* room) {
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    if (label->wordWrap() || label->text().contains(u'\n')) return false;
    *text = label->text();
    *room = label->contentsRect().width();
    return true;
  }
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    *text = button->text().remove(u'&');
    // Buttons draw their frame, check mark or radio circle beside the text.
    *room = button->width() - (button->sizeHint().width() - button->fontMetrics().horizontalAdvance(*text));
    return true;
  }
  return false;
}

}  // namespace

void SaveScreenshot(QWidget* widget, const char* name) {
  const QString folder = QStringLiteral(UNITS_SCREENSHOT_FOLDER);
  QDir().mkpath(folder);
  const QString path = folder + u'/' + QString::fromUtf8(name) + u'_' + LanguageTag() + QStringLiteral(".png");
  EXPECT_TRUE(widget->grab().save(path)) << path.toStdString();
}

QStringList TextsThatDoNotFit(QWidget* dialog) {
  QStringList too_wide;
  for (QWidget* widget : dialog->findChildren<QWidget*>()) {
    QString text;
    int room = 0;
    if (!widget->isVisible() || !ControlText(widget, &text, &room) || text.isEmpty()) continue;
    if (widget->fontMetrics().horizontalAdvance(text) > room) too_wide << widget->objectName() + ": " + text;
  }
  return too_wide;
}

void TypeInto(QWidget* edit, const QString& text) {
  edit->setFocus();
  for (QChar c : text) {
    // Qt's test keys know only ASCII; other characters arrive as a keyboard
    // layout sends them, as a key event carrying the text.
    if (c.unicode() < 0x80) {
      QTest::keyClick(edit, static_cast<char>(c.unicode()));
    } else {
      QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

// Missing fonts draw boxes without any warning: every dialog test would
// pass on pictures nobody can read.
TEST(DialogFonts, DialogFontIsARealFamilyWithLatinGlyphs) {
  const QFont font = ToolkitFont(FontSpec{"MS Sans Serif", 15});
  const QString family = QFontInfo(font).family();
  EXPECT_TRUE(QFontDatabase::families().contains(family)) << family.toStdString();
  const QFontMetrics metrics(font);
  for (QChar c : QStringLiteral("Aa0°µΩ")) EXPECT_TRUE(metrics.inFont(c)) << c.unicode();
}

}  // namespace testing
}  // namespace dialogs
}  // namespace units

// Widgets need an application object; the offscreen platform needs no
// display. CTest sets QT_QPA_PLATFORM=offscreen; a developer may run a suite
// on a real display instead.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
