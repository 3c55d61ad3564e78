// The image menus on the real window: each command against the engine operation applied to
// a copy, the busy window where it shows, the sharpen and noise prompts with their refusals,
// the flips' exact mapping and the stretch.
#include <QAction>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>

#include "StartedWindow.h"
#include "imageops/Geometry.h"
#include "imageops/NeighbourFilters.h"
#include "imageops/PointFilters.h"
#include "imageops/RandomFilters.h"
#include "imageops/SurfaceOps.h"
#include "imageops/dialogs/frmScale.h"

namespace {

using Op = std::function<void(nt::RasterTarget&)>;

// Every pixel different and no symmetry on either axis; odd sides catch off-by-one mirrors.
QImage scrambled(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t v = static_cast<std::uint32_t>(x) * 2654435761u ^
                              static_cast<std::uint32_t>(y) * 40503u * 97u;
            v ^= v >> 13;
            v *= 0x5bd1e995u;
            v ^= v >> 15;
            img.setPixel(x, y, 0xFF000000u | (v & 0xFFFFFFu));
        }
    return img;
}

// The picture after the engine's operation, on a surface of its own.
QImage engine(const QImage& picture, const Op& op) {
    nt::Surface copy(picture.width(), picture.height());
    copy.setPicture(picture, true);
    nt::applyToSurface(copy, op);
    return copy.Image().copy();
}

class ImageMenu : public StartedWindow {
  protected:
    void SetUp() override {
        StartedWindow::SetUp();
        if (HasFatalFailure()) return;
        canvas().setPicture(original, true);
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::system());
        StartedWindow::TearDown();
    }
    const QImage& picture() { return canvas().Image(); }
    // The command's result as the engine defines it, from the picture the canvas holds now.
    QImage expected(const Op& op) { return engine(picture(), op); }

    // Answers the input box: checks its texts, then types `answer` and accepts, or cancels
    // when there is no answer. The windows that follow get `then`.
    static ModalSequence::Act inputBox(QString title, QString prompt, QString initial,
                                       std::optional<QString> answer) {
        return [=](QWidget* m) {
            auto* box = qobject_cast<QInputDialog*>(m);
            ASSERT_TRUE(box);
            EXPECT_EQ(box->windowTitle(), title);
            EXPECT_EQ(box->labelText(), prompt);
            EXPECT_EQ(box->textValue(), initial);
            if (answer) {
                box->setTextValue(*answer);
                box->accept();
            } else {
                box->reject();
            }
        };
    }
    static ModalSequence::Act sharpenBox(std::optional<QString> answer) {
        return inputBox(QStringLiteral("锐化"), QStringLiteral("请输入锐化值."),
                        QStringLiteral("1.2"), answer);
    }
    static ModalSequence::Act noiseBox(std::optional<QString> answer) {
        return inputBox(QStringLiteral("噪点"), QStringLiteral("请输入噪点值."),
                        QStringLiteral("16"), answer);
    }
    // Checks the message box and closes it.
    static ModalSequence::Act message(QString title, QMessageBox::Icon icon, QString* text) {
        return [=](QWidget* m) {
            auto* box = qobject_cast<QMessageBox*>(m);
            ASSERT_TRUE(box);
            EXPECT_EQ(box->windowTitle(), title);
            EXPECT_EQ(box->icon(), icon);
            *text = box->text();
            box->accept();
        };
    }
    void run(QAction* command, std::vector<ModalSequence::Act> replies) {
        ModalSequence answers(std::move(replies));
        command->trigger();
        EXPECT_TRUE(answers.finished());
    }

    const QImage original = scrambled(23, 17);
};

struct Command {
    const char* name;
    QAction* frmmain::*action;
    Op op;
    bool busy;
};

TEST_F(ImageMenu, EachCommandChangesTheCanvasAsTheEngineDefines) {
    using nt::RasterTarget;
    const Command commands[] = {
        {"mnuBlur", &frmmain::mnuBlur, [](RasterTarget& t) { nt::BlurImage(t); }, true},
        {"mnuPixel", &frmmain::mnuPixel, [](RasterTarget& t) { nt::WavePixels(t); }, true},
        {"mnuInvert", &frmmain::mnuInvert, [](RasterTarget& t) { nt::InvertColors(t); }, true},
        {"mnuGray", &frmmain::mnuGray, [](RasterTarget& t) { nt::GrayScale(t); }, true},
        {"mnuMirror", &frmmain::mnuMirror, [](RasterTarget& t) { nt::MirrorHalf(t); }, true},
        {"mnuRed", &frmmain::mnuRed, [](RasterTarget& t) { nt::RemoveChannel(t, 0); }, false},
        {"mnuGreen", &frmmain::mnuGreen, [](RasterTarget& t) { nt::RemoveChannel(t, 1); }, true},
        {"mnuBlue", &frmmain::mnuBlue, [](RasterTarget& t) { nt::RemoveChannel(t, 2); }, false},
        {"mnuFlipV", &frmmain::mnuFlipV, [](RasterTarget& t) { nt::FlipCanvas(t, 0); }, false},
        {"mnuFlipHoz", &frmmain::mnuFlipHoz, [](RasterTarget& t) { nt::FlipCanvas(t, 1); }, false},
        {"mnuBoth", &frmmain::mnuBoth, [](RasterTarget& t) { nt::FlipCanvas(t, 2); }, false},
    };
    for (const Command& c : commands) {
        SCOPED_TRACE(c.name);
        canvas().setPicture(original, true);
        closeBusyWindow();
        const QImage want = engine(original, c.op);
        ASSERT_NE(want, original);
        (w.get()->*c.action)->trigger();
        EXPECT_EQ(picture(), want);
        EXPECT_EQ(canvas().screen(), want);  // refreshed on screen too
        EXPECT_EQ(busyWindow() != nullptr, c.busy);
    }
}

TEST_F(ImageMenu, BlurMoreIsThreeBlursAndKeepsTheBorder) {
    Op blur = [](nt::RasterTarget& t) { nt::BlurImage(t); };
    const QImage want = engine(engine(engine(original, blur), blur), blur);
    w->mnuBlureMore->trigger();
    EXPECT_EQ(picture(), want);
    EXPECT_NE(busyWindow(), nullptr);
    for (int x = 0; x < original.width(); ++x) {
        EXPECT_EQ(picture().pixel(x, 0), original.pixel(x, 0));
        EXPECT_EQ(picture().pixel(x, 16), original.pixel(x, 16));
    }
}

TEST_F(ImageMenu, FlipsMirrorExactly) {
    const int W = original.width(), H = original.height();
    w->mnuFlipV->trigger();  // "垂直(&V)": left-right
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(picture().pixel(x, y), original.pixel(W - 1 - x, y)) << x << "," << y;
    w->mnuFlipV->trigger();
    EXPECT_EQ(picture(), original);

    w->mnuFlipHoz->trigger();  // "水平(&H)": top-bottom
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(picture().pixel(x, y), original.pixel(x, H - 1 - y)) << x << "," << y;
    w->mnuFlipHoz->trigger();
    EXPECT_EQ(picture(), original);

    w->mnuBoth->trigger();  // a half turn
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(picture().pixel(x, y), original.pixel(W - 1 - x, H - 1 - y)) << x << "," << y;
    const QImage both = picture().copy();
    canvas().setPicture(original, true);
    w->mnuFlipV->trigger();
    w->mnuFlipHoz->trigger();
    EXPECT_EQ(picture(), both);
}

TEST_F(ImageMenu, DiffuseDrawsFromTheSharedGenerator) {
    nt::UniformRandom mine = w->random;
    QImage want = expected([&](nt::RasterTarget& t) { nt::DiffuseImage(t, mine); });
    w->mnuDiffuse->trigger();
    EXPECT_EQ(picture(), want);
    EXPECT_EQ(w->random.state(), mine.state());
    EXPECT_NE(busyWindow(), nullptr);
    // The next run goes on with the sequence, not from its start.
    want = expected([&](nt::RasterTarget& t) { nt::DiffuseImage(t, mine); });
    w->mnuDiffuse->trigger();
    EXPECT_EQ(picture(), want);
}

TEST_F(ImageMenu, SharpenAsksForTheFactorAndKeepsIt) {
    const QImage want = expected([](nt::RasterTarget& t) { nt::SharpenImage(t, 2.5f); });
    run(w->mnuSharpen, {sharpenBox(QStringLiteral("2.5"))});
    EXPECT_EQ(picture(), want);
    EXPECT_EQ(nt::globals().SharpenValue, 2.5f);
    EXPECT_EQ(busyWindow(), nullptr);
    // "加倍锐化" repeats it without asking, behind the busy window.
    const QImage again = expected([](nt::RasterTarget& t) { nt::SharpenImage(t, 2.5f); });
    w->mnuSharpMore->trigger();
    EXPECT_EQ(picture(), again);
    EXPECT_NE(busyWindow(), nullptr);
}

TEST_F(ImageMenu, SharpenRefusesTextThatIsNoNumberAndCancel) {
    for (std::optional<QString> answer :
         {std::optional<QString>(QStringLiteral("abc")), std::optional<QString>(QStringLiteral("")),
          std::optional<QString>()}) {
        QString said;
        run(w->mnuSharpen,
            {sharpenBox(answer), message(QStringLiteral("锐化"), QMessageBox::Information, &said)});
        EXPECT_FALSE(said.isEmpty());
        EXPECT_EQ(picture(), original);
        EXPECT_EQ(nt::globals().SharpenValue, 0.0f);
    }
}

TEST_F(ImageMenu, SharpenMoreBeforeAnySharpenChangesNothing) {
    w->mnuSharpMore->trigger();
    EXPECT_EQ(picture(), original);
    EXPECT_NE(busyWindow(), nullptr);
}

TEST_F(ImageMenu, NoiseReadsTheAmountAndDrawsFromTheSharedGenerator) {
    // text, amount it reads as
    const std::pair<std::optional<QString>, std::int16_t> rows[] = {
        {QStringLiteral("20"), 20},
        {QStringLiteral("12.5 px"), 12},  // leading number, halves to even
        {QStringLiteral("abc"), 0},       // no number reads as 0 and still adds noise
        {std::nullopt, 0},                // Cancel too
    };
    for (const auto& [answer, amount] : rows) {
        SCOPED_TRACE(answer.value_or(QStringLiteral("<cancel>")).toStdString());
        closeBusyWindow();
        nt::UniformRandom mine = w->random;
        const QImage want =
            expected([&, a = amount](nt::RasterTarget& t) { nt::AddNoise(t, a, mine); });
        run(w->mnuAddNoise, {noiseBox(answer)});
        EXPECT_EQ(picture(), want);
        EXPECT_EQ(w->random.state(), mine.state());
        EXPECT_NE(busyWindow(), nullptr);
    }
}

TEST_F(ImageMenu, NoiseRefusesAmountsBeyondSixteenBits) {
    for (const char* text : {"20000", "-16385", "1e9"}) {
        SCOPED_TRACE(text);
        const std::uint64_t before = w->random.state();
        QString said;
        run(w->mnuAddNoise, {noiseBox(QString::fromLatin1(text)),
                             message(QStringLiteral("噪点"), QMessageBox::Warning, &said)});
        EXPECT_TRUE(said.contains(QStringLiteral("16383"))) << said.toStdString();
        EXPECT_EQ(picture(), original);
        EXPECT_EQ(w->random.state(), before);
        EXPECT_EQ(busyWindow(), nullptr);
    }
    // The ends of the range are taken.
    run(w->mnuAddNoise, {noiseBox(QStringLiteral("16383"))});
    EXPECT_NE(picture(), original);
}

TEST_F(ImageMenu, StretchFollowsWithGripsScrollBarsAndSizeText) {
    ModalSequence answers({[](QWidget* m) {
        auto* d = qobject_cast<frmScale*>(m);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->txtWidth->text(), QStringLiteral("23"));
        EXPECT_EQ(d->txtHeight->text(), QStringLiteral("17"));
        d->txtWidth->setText(QStringLiteral("46"));
        d->txtHeight->setText(QStringLiteral("2000"));
        d->cmdOK->click();
    }});
    const QImage want = nt::StretchImage(original, 46, 2000);
    w->mnuScale->trigger();
    ASSERT_TRUE(answers.finished());
    EXPECT_EQ(picture(), want);
    EXPECT_EQ(w->SrcDc->size(), QSize(46, 2000));
    EXPECT_EQ(w->statusText(3), QStringLiteral("画布大小:宽 46 高 2000"));
    EXPECT_EQ(w->pGrip[1]->pos(), QPoint(46, 2000));
    EXPECT_EQ(w->pGrip[2]->pos(), QPoint(20, 2000));
    EXPECT_EQ(w->vBar->maximum(), 2000 - w->pHolder->height() + 18);
    EXPECT_FALSE(w->vBar->isHidden());
    EXPECT_TRUE(w->hBar->isHidden());
    EXPECT_EQ(nt::globals().DialogResult, nt::GlobalSettings::kIdle);

    ModalSequence cancel({[](QWidget* m) { qobject_cast<frmScale*>(m)->cmdCancel->click(); }});
    w->mnuScale->trigger();
    ASSERT_TRUE(cancel.finished());
    EXPECT_EQ(picture(), want);
}

}  // namespace
