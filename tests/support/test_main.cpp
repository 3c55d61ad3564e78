#include <cstdlib>

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    // The build runs this binary to list the tests, before any ctest environment applies.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Windows keep their working files in sessions under this folder, never under the user's
    // own state folder; programs the tests start inherit it.
    QTemporaryDir sessions;
    if (!sessions.isValid()) return 1;
    setenv("NORVALYTINTORA_STATE_DIR", QFile::encodeName(sessions.path()).constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
