#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstring>
#include <memory>
#include <tuple>

#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/edit_unit_dialog.h"
#include "dialogs/texts.h"

namespace units::dialogs::testing {
namespace {

// The gram of a quantity in "kg"; "." separates decimals unless a case says otherwise.
class EditUnitDialogTest : public ::testing::Test {
 protected:
  EditUnitDialogTest() : unit_{1000, 0, "g", kUnitDefined}, before_(unit_) { QLocale::setDefault(QLocale::c()); }
  ~EditUnitDialogTest() override { QLocale::setDefault(QLocale::system()); }
  void Open() {
    dialog_ = std::make_unique<TEditUnitDlg>(nullptr, "kg", &unit_, "Edit unit", context_);
    ShowForTest(dialog_.get());
  }
  QLineEdit* Edit(const char* name) { return dialog_->findChild<QLineEdit*>(name); }
  QString Texts(std::initializer_list<const char*> names) {  // of edits and labels, joined by "|"
    QStringList texts;
    for (const char* name : names) texts << dialog_->findChild<QWidget*>(name)->property("text").toString();
    return texts.join(u'|');
  }
  void Replace(const char* name, const QString& text) {  // Backspace over the old text, as a user would
    Edit(name)->selectAll();
    TypeInto(Edit(name), "\b" + text);
  }

  ScriptedToolkit toolkit_;
  DialogContext context_ = TestContext(&toolkit_);
  t_quantityunit unit_;
  const t_quantityunit before_;
  std::unique_ptr<TEditUnitDlg> dialog_;
};

TEST_F(EditUnitDialogTest, ShowsTheUnitAsThreeEquations) {
  Open();
  EXPECT_EQ(dialog_->windowTitle() + '|' +
                Texts({"m_pkLabelSymbol", "m_pkEditSymbol", "m_pkEditOffset", "m_pkEditFactor", "m_pkEditRevFactor",
                       "m_pkLabelOffset", "m_pkLabelOffsetUnit", "m_pkLabelFactor", "m_pkLabelFactorUnit",
                       "m_pkLabelRevFactor", "m_pkLabelRevFactorUnit"}),
            Tr("Edit unit") + '|' + Tr("Symbol") +
                "|g|0.0000000|1000.00000|0.0010000000|0.0 kg (abs) =|g|1.0 kg (rel) =|g|1.0 g (rel) =|kg");
  SaveScreenshot(dialog_.get(), "edit_unit");
  EXPECT_EQ(TextsThatDoNotFit(dialog_.get()), QStringList());
  unit_.dFactor = 0;
  Open();
  EXPECT_EQ(Texts({"m_pkEditRevFactor"}), "0.0");
}

TEST_F(EditUnitDialogTest, NumberEditsTakeNumberKeysMirrorTheFactorsAndEnterStoresTheFactorShown) {
  const struct { bool german; const char* typed_into; const char* typed; const char* shown; double stored; } cases[] = {
      {false, "m_pkEditOffset", "1a2 E3e4x,5.6+-_", "12E3e45.6+-|1000.00000|0.0010000000", 1000},
      {false, "m_pkEditFactor", "4x ,", "0.0000000|4|0.25000000", 4},
      {false, "m_pkEditFactor", "", "0.0000000||0.0", 1000},
      {false, "m_pkEditRevFactor", "4 ,a", "0.0000000|0.250000000|4", 0.25},
      {false, "m_pkEditRevFactor", "", "0.0000000|0.0|", 1000},
      {true, "m_pkEditOffset", "2.,5", "2,5|1000,00000|0,0010000000", 1000},
      {true, "m_pkEditFactor", "2.,5", "0,0000000|2,5|0,40000000", 2.5}};
  for (const auto& c : cases) {
    QLocale::setDefault(c.german ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
    unit_ = before_;
    Open();
    Replace(c.typed_into, c.typed);
    EXPECT_EQ(Texts({"m_pkEditOffset", "m_pkEditFactor", "m_pkEditRevFactor"}), c.shown) << c.typed;
    QTest::keyClick(Edit(c.typed_into), Qt::Key_Return);
    EXPECT_EQ(+unit_.dFactor, c.stored) << c.typed_into << " <- \"" << c.typed << '"';
  }
  for (const char* pasted : {"abc", "7"}) Edit("m_pkEditRevFactor")->insert(pasted);  // pasted: "abc" refused
  EXPECT_EQ(Texts({"m_pkEditRevFactor"}), "0,400000007");
}

TEST_F(EditUnitDialogTest, OkWritesSymbolOffsetAndFactorButNotTheReverseEdit) {
  Open();
  Replace("m_pkEditSymbol", QString(11, u'°'));  // 2 bytes each: the 11th is refused
  Replace("m_pkEditOffset", "-459.67");
  Replace("m_pkEditFactor", "3");
  QTest::keyClick(Edit("m_pkEditFactor"), Qt::Key_Tab);  // Tab and End type nothing: 3 stays, not 1 / 0.33333333
  QTest::keyClick(Edit("m_pkEditRevFactor"), Qt::Key_End);
  QTest::mouseClick(dialog_->findChild<QPushButton*>("m_pkButtonOK"), Qt::LeftButton);
  EXPECT_EQ(std::make_tuple(dialog_->result(), Texts({"m_pkEditSymbol"}), QString(unit_.szText), +unit_.dOffset,
                            +unit_.dFactor),
            std::make_tuple(int{QDialog::Accepted}, QString(10, u'°'), QString(10, u'°'), -459.67, 3.0));
}

TEST_F(EditUnitDialogTest, OkRefusesWhatWouldSpoilConversionsAndCancelWritesNothing) {
  const char* const bad_factor = "The factor must be a finite number other than 0";
  const struct { const char* symbol; const char* offset; const char* factor; const char* message; } cases[] = {
      {"", "0", "0", "Missing symbol"}, {"lb", "0", "0", bad_factor}, {"lb", "0", "", bad_factor},
      {"lb", "0", "1e999", bad_factor}, {"lb", "-1e999", "1", "The offset must be a finite number"}};
  for (const auto& c : cases) {
    Open();
    toolkit_.messages.clear();
    for (const auto& [name, text] :
         {std::pair{"m_pkEditSymbol", c.symbol}, {"m_pkEditOffset", c.offset}, {"m_pkEditFactor", c.factor}})
      Replace(name, text);
    EXPECT_EQ(Texts({"m_pkLabelOffsetUnit", "m_pkLabelFactorUnit", "m_pkLabelRevFactor"}),
              QString("%1|%1|1.0 %1 (rel) =").arg(*c.symbol != '\0' ? c.symbol : "***"));
    QTest::mouseClick(dialog_->findChild<QPushButton*>("m_pkButtonOK"), Qt::LeftButton);
    const ScriptedToolkit::Message& m = toolkit_.messages.at(0);
    EXPECT_EQ(std::make_tuple(toolkit_.messages.size(), m.text, m.caption, m.icon, m.placement, m.owner,
                              dialog_->isVisible()),
              std::make_tuple(size_t{1}, Tr(c.message), QString("Mensora"), ToolkitServices::Icon::kNone,
                              ToolkitServices::Placement::kForeground, static_cast<QWidget*>(dialog_.get()), true));
    QTest::mouseClick(dialog_->findChild<QPushButton*>("m_pkButtonCancel"), Qt::LeftButton);
    EXPECT_EQ(std::make_tuple(dialog_->result(), std::memcmp(&unit_, &before_, sizeof unit_)),
              std::make_tuple(int{QDialog::Rejected}, 0));
  }
}

}  // namespace
}  // namespace units::dialogs::testing
