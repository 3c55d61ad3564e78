// A window's session as a separate process, for the tests of crash detection: begins a session
// in the store folder given, writes a picture other than a blank canvas as its "backup.bmp",
// prints the session's folder and waits to be killed.
#include <unistd.h>

#include <cstdio>

#include <QFile>
#include <QImage>

#include "document/SessionStore.h"
#include "platform/Picture.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    nt::SessionStore store(QFile::decodeName(argv[1]));
    const std::unique_ptr<nt::Session> session = store.begin();
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 10; y < 20; ++y)
        for (int x = 5; x < 30; ++x) picture.setPixel(x, y, qRgb(200, 0, 0));
    if (nt::savePictureBmp(picture, session->file(QStringLiteral("backup.bmp")))) return 1;
    std::printf("%s\n", QFile::encodeName(session->folder()).constData());
    std::fflush(stdout);
    for (;;) pause();
}
