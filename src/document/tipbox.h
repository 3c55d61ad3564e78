#pragma once

// tipbox: the borderless floating hint.
//
// How the main window uses it:
//   tipbox::ShowHint(this, QStringLiteral("请按Alt或Ctrl+鼠标左键,定义新克隆的范围"));  // tool 19
//   tipbox::ShowHint(this, QStringLiteral("选择一个区域,按Del可删除或可在菜单栏里选择功能"));
//   tipbox::CanvasMouseMove();   // every pointer move over the canvas: places a visible hint
//   tipbox::CanvasMouseUp();     // every button release on the canvas: hides it
// ShowHint shows the window without activating it (keyboard focus stays on the canvas),
// then sets Label7. Any pointer movement over the window, its label or its picture hides
// it. Created on first access; afterwards only hidden and shown, keeping its last hint.

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;

class tipbox : public QWidget {
    Q_OBJECT
  public:
    static tipbox* Instance(QWidget* owner);
    // Instance(owner) shown without waiting, then Label7 set to `text`.
    static void ShowHint(QWidget* owner, const QString& text);
    // The canvas's hooks; they act only on an existing instance and never create one.
    static void CanvasMouseMove();
    static void CanvasMouseUp();
    // The screen spot the canvas moves put the hint: 200 twips right, 300 twips down from
    // the screen's top-left, for the given logical dpi.
    static QPoint placeFor(const QPoint& screenTopLeft, double dpiX, double dpiY);

    explicit tipbox(QWidget* owner = nullptr);
    ~tipbox() override;

    QLabel* Label7 = nullptr;  // the hint
    QLabel* Image1 = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void moveToCanvasSpot();
    static QPointer<tipbox>& current();
};
