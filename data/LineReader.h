#pragma once

#include <QFile>
#include <QString>

#include <cstddef>
#include <memory>
#include <string_view>

// Reads a file in pieces the way a text-mode fgets with a 256-byte buffer
// does: a piece ends after its LF or after 255 bytes, whichever comes first,
// and the rest of a longer line comes back as the next piece. A CR directly
// before the LF belongs to the line end and is not counted, as on a platform
// that turns CR LF into LF when reading; a lone CR is an ordinary byte.
class LineReader {
public:
    static constexpr std::size_t PieceBytes = 255;

    // Bytes of the reader's own buffer: the caller may change them in place
    // until the next read.
    struct Piece {
        char* data = nullptr;
        std::size_t size = 0;
    };

    bool Open(const QString& fileName);

    // The next piece, a line end at its end as LF alone; false at the end of
    // the file or when the file cannot be read any further.
    bool ReadPiece(Piece& piece);

    // The bytes read from the file that no piece has handed out yet, for a
    // caller that takes plain lines straight from them; Skip(count) passes
    // over the first count of them as if they were read as pieces.
    std::string_view Ahead() const { return std::string_view(chunk_.get() + position_, end_ - position_); }
    void Skip(std::size_t count) { position_ += count; }

private:
    bool Refill();
    bool ReadWholeLine(Piece& piece);
    bool ReadPieceByteByByte(Piece& piece);

    static constexpr std::size_t ChunkBytes = 64 * 1024;

    QFile file_;
    std::unique_ptr<char[]> chunk_ = std::make_unique<char[]>(ChunkBytes);
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    char piece_[PieceBytes] = {};
};
