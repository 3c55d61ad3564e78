#pragma once

// frmText: the text tool's dialog "文本/艺术字".
//
// The canvas's text tool shows it modally at a release (frmText::ShowModal). It opens with
// the shared text settings of globals() (text, font, size, style), previews the sample word
// in the chosen font whenever a choice is made in one of the three lists, and on OK ("确定",
// or Enter in the text box) stores the four settings and sets DialogResult = 1. Cancel sets
// DialogResult = 2 and changes nothing else; the close box changes nothing at all. Created
// per showing and destroyed on close. The text box takes input-method text (Chinese input).

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace nt {
class PictureBox;
}

class frmText : public QDialog {
    Q_OBJECT
  public:
    static void ShowModal(QWidget* owner);

    explicit frmText(QWidget* owner = nullptr);

    QPlainTextEdit* txtText = nullptr;
    QComboBox* cboFont = nullptr;
    QComboBox* cboSize = nullptr;
    QComboBox* cboStyle = nullptr;
    nt::PictureBox* pPreview = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Image2 = nullptr;

    // The index to select for a stored value in a list: see nt::text::FindListItem.
    static int FindListItem(const QComboBox* list, const QString& text);

    void Form_Load();
    void cboFont_Click();
    void cboSize_Click();
    void cboStyle_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    // How often the preview was drawn since the dialog was made.
    int previewsDrawn() const { return previewsDrawn_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void buildLayout();
    void DrawPreview();
    int previewsDrawn_ = 0;
};
