#pragma once

#include <QMainWindow>

#include "surface/PictureBox.h"

// The main window: one canvas and everything that draws on it.
class frmmain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmmain(QWidget* parent = nullptr);

    nt::PictureBox* SrcDc = nullptr;  // the canvas
};
