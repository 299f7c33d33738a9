#include "LineReader.h"

#include <algorithm>
#include <cstring>

bool LineReader::Open(const QString& fileName)
{
    file_.setFileName(fileName);
    // The chunk is our buffer; a second one inside QFile would only copy.
    return file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool LineReader::ReadPiece(Piece& piece)
{
    return ReadWholeLine(piece) || ReadPieceByteByByte(piece);
}

bool LineReader::Refill()
{
    position_ = 0;
    const qint64 got = file_.read(chunk_.get(), static_cast<qint64>(ChunkBytes));
    end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
    return end_ > 0;
}

// The common case: the whole line, line end included, lies in the chunk and
// is short enough to be one piece, so it is handed out where it stands.
bool LineReader::ReadWholeLine(Piece& piece)
{
    char* start = chunk_.get() + position_;
    // One byte more than a piece, for the CR of a CR LF.
    const std::size_t window = std::min(end_ - position_, PieceBytes + 1);
    const auto* lf = static_cast<const char*>(std::memchr(start, '\n', window));
    if (!lf)
        return false;
    const std::size_t length = static_cast<std::size_t>(lf - start) + 1;
    const bool crlf = length >= 2 && lf[-1] == '\r';
    const std::size_t pieceLength = crlf ? length - 1 : length;
    if (pieceLength > PieceBytes)
        return false;
    // The chunk is ours: a CR LF becomes the LF alone in place.
    if (crlf)
        chunk_[position_ + pieceLength - 1] = '\n';
    piece = {start, pieceLength};
    position_ += length;
    return true;
}

// A line that runs over the end of the chunk or past the piece limit is
// gathered byte by byte, refilling the chunk as it goes.
bool LineReader::ReadPieceByteByByte(Piece& piece)
{
    std::size_t length = 0;
    while (length < PieceBytes) {
        if (position_ == end_ && !Refill())
            break;
        char c = chunk_[position_++];
        if (c == '\r' && (position_ < end_ || Refill()) && chunk_[position_] == '\n') {
            c = '\n';
            ++position_;
        }
        piece_[length++] = c;
        if (c == '\n')
            break;
    }
    piece = {piece_, length};
    return length > 0;
}
