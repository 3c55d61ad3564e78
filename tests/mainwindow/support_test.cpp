// The helpers of the main window: the undo image writer, the library listing and the paths.
#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "globals/Paths.h"
#include "mainwindow/FirstPaint.h"
#include "mainwindow/LibraryLister.h"
#include "mainwindow/UndoImageWriter.h"
#include "platform/Picture.h"

namespace {

QImage filled(QRgb c, int w = 40, int h = 30) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

TEST(UndoImageWriter, WritesTheImageOfThePressAsBmpInTheCurrentFolder) {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        nt::UndoImageWriter writer(QStringLiteral("undo.bmp"));
        const QImage image = filled(0xFF102030, 7, 5);  // odd width: row padding
        writer.take(image);
        writer.flush();
        EXPECT_TRUE(writer.lastWriteOk());
        auto back = nt::loadPicture(dir.filePath("undo.bmp"));
        ASSERT_TRUE(std::holds_alternative<QImage>(back));
        EXPECT_EQ(std::get<QImage>(back), image);
        EXPECT_EQ(writer.latest(), image);
    }
    QDir::setCurrent(previous);
}

TEST(UndoImageWriter, NewerImagesSupersedeOlderOnesAndTheFileEndsAsTheNewest) {
    QTemporaryDir dir;
    std::atomic<int> started{0};
    std::atomic<bool> gate{false};
    QStringList written;
    std::mutex m;
    nt::UndoImageWriter writer(dir.filePath("undo.bmp"),
                               [&](const QImage& img, const QString& path) {
                                   ++started;
                                   while (!gate)
                                       std::this_thread::sleep_for(std::chrono::milliseconds(1));
                                   std::lock_guard lock(m);
                                   written << QString::number(img.pixel(0, 0), 16);
                                   return nt::UndoImageWriter::writeBmp(img, path);
                               });
    writer.take(filled(0xFF000001));
    while (started == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // While the first write is busy, three more presses: only the newest of them is written.
    writer.take(filled(0xFF000002));
    writer.take(filled(0xFF000003));
    writer.take(filled(0xFF000004));
    gate = true;
    writer.flush();
    EXPECT_EQ(written, (QStringList{"ff000001", "ff000004"}));
    EXPECT_EQ(writer.writesDone(), 2);
    EXPECT_EQ(writer.latest().pixel(0, 0), 0xFF000004u);
    auto back = nt::loadPicture(dir.filePath("undo.bmp"));
    ASSERT_TRUE(std::holds_alternative<QImage>(back));
    EXPECT_EQ(std::get<QImage>(back).pixel(0, 0), 0xFF000004u);
}

// Presses while a write is busy hand over only their changes; the file and the image end as the
// surface was at the last press, not as it was drawn after it.
TEST(UndoImageWriter, FollowsASurfaceFromItsChangesWhileAWriteIsBusy) {
    QTemporaryDir dir;
    std::atomic<int> started{0};
    std::atomic<bool> gate{false};
    nt::UndoImageWriter writer(dir.filePath("undo.bmp"),
                               [&](const QImage& img, const QString& path) {
                                   ++started;
                                   while (!gate)
                                       std::this_thread::sleep_for(std::chrono::milliseconds(1));
                                   return nt::UndoImageWriter::writeBmp(img, path);
                               });
    nt::Surface canvas(40, 30);
    canvas.keepCopies();
    writer.takeFrom(canvas, 0);
    while (started == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    canvas.PSet(5, 5, 0x0000FF);
    writer.takeFrom(canvas, 0);
    canvas.PSet(6, 6, 0xFF0000);
    const QImage atLastPress = canvas.Image().copy();
    writer.takeFrom(canvas, 0);
    canvas.PSet(7, 7, 0x00FF00);
    EXPECT_TRUE(canvas.Image().isDetached());
    gate = true;
    writer.flush();
    EXPECT_EQ(writer.writesDone(), 2);
    EXPECT_EQ(writer.latest(), atLastPress);
    auto back = nt::loadPicture(dir.filePath("undo.bmp"));
    ASSERT_TRUE(std::holds_alternative<QImage>(back));
    EXPECT_EQ(std::get<QImage>(back), atLastPress);
}

TEST(UndoImageWriter, TakeReturnsAtOnceWhileAWriteIsSlow) {
    std::atomic<bool> gate{false};
    nt::UndoImageWriter writer(QStringLiteral("unused.bmp"), [&](const QImage&, const QString&) {
        while (!gate) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
    });
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 100; ++i) writer.take(filled(0xFF000000u + static_cast<QRgb>(i)));
    EXPECT_LT(t.elapsed(), 1000);
    gate = true;
    writer.flush();
    EXPECT_LE(writer.writesDone(), 2);
}

TEST(UndoImageWriter, LetsGoOfTheCanvasPixelsOnceItHasItsOwnCopy) {
    QTemporaryDir dir;
    nt::UndoImageWriter writer(dir.filePath("undo.bmp"));
    QImage canvas = filled(0xFF112233);
    writer.take(canvas);
    writer.flush();
    // The canvas can draw again without copying its pixels first.
    EXPECT_TRUE(canvas.isDetached());
    canvas.fill(0xFF000000u);
    EXPECT_EQ(writer.latest().pixel(5, 5), 0xFF112233u);
}

TEST(UndoImageWriter, AFailedWriteIsIgnoredAndKeepsTheImageInMemory) {
    QTemporaryDir dir;
    nt::UndoImageWriter writer(dir.filePath("no/such/folder/undo.bmp"));
    writer.take(filled(0xFFABCDEF));
    writer.flush();
    EXPECT_FALSE(writer.lastWriteOk());
    EXPECT_EQ(writer.latest().pixel(0, 0), 0xFFABCDEFu);
    EXPECT_FALSE(QFile::exists(dir.filePath("no/such/folder/undo.bmp")));
}

TEST(UndoImageWriter, DestructionFinishesThePendingWrite) {
    QTemporaryDir dir;
    {
        nt::UndoImageWriter writer(dir.filePath("undo.bmp"));
        writer.take(filled(0xFF445566, 300, 200));
    }
    auto back = nt::loadPicture(dir.filePath("undo.bmp"));
    ASSERT_TRUE(std::holds_alternative<QImage>(back));
    EXPECT_EQ(std::get<QImage>(back).pixel(299, 199), 0xFF445566u);
}

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(LibraryLister, ListsBmpFilesInChunksWithoutBlockingTheEventLoop) {
    QTemporaryDir dir;
    constexpr int kFiles = 2000;
    for (int i = 0; i < kFiles; ++i) touch(dir.filePath(QStringLiteral("b%1.bmp").arg(i)));
    touch(dir.filePath("UPPER.BMP"));
    touch(dir.filePath("notes.txt"));
    QDir(dir.path()).mkdir("folder.bmp");
    nt::LibraryLister lister;
    QStringList names;
    int chunks = 0;
    QObject::connect(&lister, &nt::LibraryLister::found, [&](const QStringList& n) {
        names << n;
        ++chunks;
    });
    // A timer of the event loop keeps firing while the folder is listed.
    int ticks = 0;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&] { ++ticks; });
    other.start(0);
    QSignalSpy done(&lister, &nt::LibraryLister::finished);
    lister.start(dir.path());
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(names.size(), kFiles + 1);
    EXPECT_TRUE(names.contains("UPPER.BMP"));
    EXPECT_FALSE(names.contains("notes.txt"));
    EXPECT_FALSE(names.contains("folder.bmp"));
    EXPECT_GE(chunks, (kFiles + 1) / nt::LibraryLister::kChunk);
    EXPECT_GE(ticks, chunks - 1);
}

TEST(LibraryLister, MissingFolderFinishesEmpty) {
    nt::LibraryLister lister;
    QSignalSpy found(&lister, &nt::LibraryLister::found);
    QSignalSpy done(&lister, &nt::LibraryLister::finished);
    lister.start(QStringLiteral("/no/such/folder"));
    ASSERT_TRUE(done.wait(2000));
    EXPECT_EQ(found.count(), 0);
}

// Counts the paints a widget receives.
class PaintCount : public QObject {
  public:
    explicit PaintCount(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
    int paints = 0;
};

TEST(AfterFirstPaint, RunsOnceAfterTheWindowIsPainted) {
    QWidget window;
    window.resize(120, 80);
    PaintCount painted(&window);
    window.winId();
    std::vector<int> paintsSeen;
    nt::afterFirstPaint(window.windowHandle(), &window,
                        [&] { paintsSeen.push_back(painted.paints); });
    window.show();
    EXPECT_TRUE(paintsSeen.empty());  // never within show()
    ASSERT_TRUE(QTest::qWaitFor([&] { return !paintsSeen.empty(); }, 5000));
    EXPECT_GE(paintsSeen.front(), 1);
    window.hide();
    window.show();
    window.update();
    QTest::qWait(50);
    EXPECT_EQ(paintsSeen.size(), 1u);
}

TEST(AfterFirstPaint, NothingRunsWhenTheContextGoesFirst) {
    QWidget window;
    window.winId();
    bool ran = false;
    {
        QObject context;
        nt::afterFirstPaint(window.windowHandle(), &context, [&] { ran = true; });
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(20);
    EXPECT_FALSE(ran);
}

TEST(Paths, AddBackslashAndParentFolder) {
    EXPECT_EQ(nt::AddBackslash("/opt/app"), "/opt/app/");
    EXPECT_EQ(nt::AddBackslash("/opt/app/"), "/opt/app/");
    EXPECT_EQ(nt::AddBackslash("/"), "/");  // a root gets no doubled separator
    EXPECT_EQ(nt::AddBackslash(""), "/");
    EXPECT_EQ(nt::ParentFolder("/home/u/pic.bmp"), "/home/u");
    EXPECT_EQ(nt::ParentFolder("pic.bmp"), "pic.bmp");
    EXPECT_EQ(nt::ParentFolder("/pic.bmp"), "");
}

}  // namespace
