#pragma once

// The bridge between the internal clipboard and the desktop's: Copy and Cut offer the copied
// block to other programs, and Paste takes a picture another program put there since. The
// internal clipboard stays the one the paste placement uses; this only fills it.

#include <cstdint>

#include <QImage>
#include <QMimeData>

namespace nt {

// The copied block as the system clipboard offers it: image/png (and, through Qt, every
// other image type Qt writes). Nothing is encoded until a program asks, and the PNG is made
// once however often it is asked for, so Copy costs the same on any size.
class ClipboardPicture : public QMimeData {
    Q_OBJECT
  public:
    explicit ClipboardPicture(QImage picture);
    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;
    bool encoded() const { return !png_.isEmpty(); }

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

  private:
    QImage picture_;  // shared with the internal clipboard, which only reads it
    mutable QByteArray png_;
};

// What Paste finds on the system clipboard.
struct ForeignPicture {
    enum class Status {
        None,      // ours, unchanged since we last looked, or no picture: use the internal one
        Taken,     // `picture` is another program's, decoded
        TooLarge,  // beyond the surface limit
        Damaged,   // announced as a picture but not one
    };
    Status status = Status::None;
    QImage picture;
};

class SystemClipboard : public QObject {
    Q_OBJECT
  public:
    explicit SystemClipboard(QObject* parent = nullptr);

    // Copy and Cut: the block becomes the system clipboard's content.
    void offer(const QImage& picture);
    // Paste: another program's picture, when one put it there since our last offer or take
    // (the owner and the count of changes tell). Decoded by the program's own decoders with
    // their checks; transparent pixels are laid on white.
    ForeignPicture take();

  private:
    void changed();

    // Changes made by other programs; what was there at start-up counts as one.
    std::uint64_t foreignChanges_ = 1;
    std::uint64_t usedChanges_ = 0;  // their count at our last offer or take
};

}  // namespace nt
