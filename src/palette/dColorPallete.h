#pragma once

// dColorPallete: the two drawing colours and 28 preset swatches (two rows of 14).
//
// How the main window uses it:
//   nt::palette::PropertyBag design;              // the window's stored properties
//   design.write("Color2", 0x000000FF);           // colour 2 starts red
//   design.write("MousePointer", 1);              // arrow pointer
//   dColorPallete1 = new dColorPallete(this, &design);
//   dColorPallete1->setObjectName("dColorPallete1");
//   connect(dColorPallete1, &dColorPallete::ItemClick, ...);   // Label10 shows Color1()
//   ForeColor = button == 1 ? dColorPallete1->Color1() : dColorPallete1->Color2();
//   dColorPallete1->SwapColors();                 // on the typed lower-case x
// With no stored properties (nullptr) colour 1 is black and colour 2 white.
//
// Presses on a swatch: left makes it colour 1, any other button colour 2. A double click
// on a swatch opens the colour dialog (modal) and redefines the swatch and that colour.
// The control keeps its own size: 32 pixels high, 256 wide at 96 dpi.

#include <memory>
#include <optional>

#include <QPixmap>
#include <QWidget>

#include "palette/PaletteLogic.h"
#include "surface/Surface.h"

class dColorPallete : public QWidget {
    Q_OBJECT
  public:
    // `stored` null: a newly placed control (InitProperties); otherwise ReadProperties.
    explicit dColorPallete(QWidget* parent = nullptr,
                           const nt::palette::PropertyBag* stored = nullptr);
    ~dColorPallete() override;

    // Exchanges the two colours through the setters (both squares redrawn, both changed).
    void SwapColors();

    nt::Colour Color1() const { return state_.Color1; }
    void setColor1(nt::Colour c);  // no range check, as designed
    nt::Colour Color2() const { return state_.Color2; }
    void setColor2(nt::Colour c);

    QPixmap MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QPixmap& icon);
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int code);
    bool OpenFullColorDLG() const { return openFull_; }
    void setOpenFullColorDLG(bool on);
    // The widget's own enabled state; a disabled control gets no mouse input.
    bool Enabled() const { return isEnabled(); }
    void setEnabledProperty(bool on);

    // The swatch colours and the last press, for the host and for checks.
    nt::Colour PaletteColors(int index) const;
    int SelectedIndex() const { return state_.SelectedIndex; }
    int LastButton() const { return state_.LastButton; }

    // Property persistence through the host's store; defaults are not written.
    void InitProperties();
    void ReadProperties(const nt::palette::PropertyBag& bag);
    void WriteProperties(nt::palette::PropertyBag& bag) const;

    // Redraws the whole face / the two current-colour squares.
    void DrawPalette();
    void DrawCurrentColors();

    // The retained face the widget paints (control pixels).
    const nt::Surface& face() const { return *face_; }

    // The colour dialog: the chosen colour, or nothing when cancelled. Modal.
    std::optional<nt::Colour> PickColor(nt::Colour start, bool openFull);

    QSize sizeHint() const override;

  signals:
    // Raised by a press on a swatch before it is applied. `colour` is the swatch's entry and
    // `button` the press's button code; a (directly connected) listener may change either.
    void ItemClick(nt::Colour& colour, int& button);
    // A property was set ("Color1", "Color2", "MouseIcon", "MousePointer",
    // "OpenFullColorDLG", "Enabled").
    void PropertyChanged(const QString& name);
    void Color1Changed(nt::Colour c);
    void Color2Changed(nt::Colour c);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void UserControl_MouseDown(int button, double x, double y);
    void UserControl_DblClick();
    void UserControl_Resize();
    void DrawSwatch(nt::Colour c);
    void applyCursor();

    nt::palette::PaletteState state_;
    bool openFull_ = true;
    int mousePointer_ = nt::palette::kPointerDefault;
    QPixmap mouseIcon_;
    std::unique_ptr<nt::Surface> face_;
    std::unique_ptr<nt::Surface> pSrc;  // scratch on which one square is composed
};
