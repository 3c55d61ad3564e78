#pragma once

#include <QTranslator>

namespace nt {

// Qt's own Chinese texts (the buttons of message and input boxes, the file and colour dialogs),
// installed whatever the user's locale, since every caption of the program is Chinese. Lives
// as long as the application uses it; a missing translation file leaves Qt's English.
class ChineseQtTexts {
  public:
    ChineseQtTexts();
    ~ChineseQtTexts();
    ChineseQtTexts(const ChineseQtTexts&) = delete;
    ChineseQtTexts& operator=(const ChineseQtTexts&) = delete;
    bool loaded() const { return loaded_; }

  private:
    QTranslator translator_;
    bool loaded_ = false;
};

}  // namespace nt
