#include "LineReader.h"

#include "DataFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every piece of the file's content, in order.
std::vector<std::string> PiecesOf(const std::string& bytes)
{
    TempFolder folder;
    folder.Write("f", bytes);
    LineReader reader;
    EXPECT_TRUE(reader.Open(folder.Path("f")));
    std::vector<std::string> pieces;
    LineReader::Piece piece;
    while (reader.ReadPiece(piece))
        pieces.emplace_back(piece.data, piece.size);
    return pieces;
}

using Pieces = std::vector<std::string>;

TEST(LineReader, SplitsLongLinesInto255BytePieces)
{
    const std::string a300(300, 'a');
    EXPECT_EQ(PiecesOf(a300 + "\r\nb\r\n"), (Pieces{std::string(255, 'a'), std::string(45, 'a') + "\n", "b\n"}));
    // 254 bytes and CR LF still make one piece: the CR LF counts as one line end.
    EXPECT_EQ(PiecesOf(std::string(254, 'c') + "\r\n"), (Pieces{std::string(254, 'c') + "\n"}));
    // 255 bytes fill a piece, so the line end comes back alone.
    EXPECT_EQ(PiecesOf(std::string(255, 'd') + "\r\n"), (Pieces{std::string(255, 'd'), "\n"}));
    EXPECT_EQ(PiecesOf(std::string(255, 'd') + "\n"), (Pieces{std::string(255, 'd'), "\n"}));
}

TEST(LineReader, CountsALoneCrAsAByte)
{
    const std::string line = std::string(253, 'e') + "\r\r\n";
    EXPECT_EQ(PiecesOf(line), (Pieces{std::string(253, 'e') + "\r\n"}));
    EXPECT_EQ(PiecesOf(std::string(254, 'e') + "\r\r\n"), (Pieces{std::string(254, 'e') + "\r", "\n"}));
}

TEST(LineReader, JoinsLinesAcrossItsChunkBoundary)
{
    // A CR at the last byte of the first 64 KiB chunk and its LF at the first
    // byte of the next still make one line end.
    const std::size_t chunk = 64 * 1024;
    std::string bytes;
    while (bytes.size() + 10 < chunk - 100)
        bytes += "12345678\r\n";
    const std::size_t fill = chunk - 1 - bytes.size();
    const std::string straddling = std::string(fill, 'f');
    bytes += straddling + "\r\n" + "last";
    const Pieces pieces = PiecesOf(bytes);
    ASSERT_GE(pieces.size(), 2u);
    EXPECT_EQ(pieces[pieces.size() - 2], straddling + "\n");
    EXPECT_EQ(pieces.back(), "last");
}

TEST(LineReader, EndsAtTheEndOfTheFile)
{
    EXPECT_EQ(PiecesOf(""), Pieces{});
    EXPECT_EQ(PiecesOf("x"), Pieces{"x"});
    EXPECT_EQ(PiecesOf("\n\n"), (Pieces{"\n", "\n"}));
    EXPECT_EQ(PiecesOf(std::string("a\0b\n", 4)), Pieces{std::string("a\0b\n", 4)});
}

TEST(LineReader, OpenFailsForAMissingFile)
{
    TempFolder folder;
    LineReader reader;
    EXPECT_FALSE(reader.Open(folder.Path("missing")));
}

} // namespace
