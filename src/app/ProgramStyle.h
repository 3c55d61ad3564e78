#pragma once

#include <QProxyStyle>

namespace nt {

// The platform's style, except that the arrows of an overflowing menu bar or tool bar are
// drawn here. The style's own arrows are pictures in Qt's resources, and reading the first
// of them makes Qt load every picture plugin while the window is still being built.
class ProgramStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

// Makes ProgramStyle the application's style, over the style the application would use (the
// one a -style argument or QT_STYLE_OVERRIDE chose included).
void installProgramStyle();

}  // namespace nt
