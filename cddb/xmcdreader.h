// Reads an xmcd file the way the cddb client always has: in pieces of at most 255
// characters (a longer physical line yields further pieces), with "\n" or "\r\n" line
// ends that are not part of the piece.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

constexpr std::size_t XmcdPieceLimit = 255;

class XmcdPieceReader {
public:
    // Reads file from its current position, which must be the start of a line.
    explicit XmcdPieceReader(std::FILE* file);

    // The next piece, without its line end, NUL-terminated; false at the end of the file.
    bool Next(const char** piece, std::size_t* length);

    // Moves to the first piece that begins with prefix, without handing out those before
    // it; Next then returns that piece. false when no such piece follows.
    bool SkipToPiece(const char* prefix, std::size_t prefixLength);

private:
    // Tops the buffer up so that at least want bytes are held, unless the file ends.
    void Fill(std::size_t want);

    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    char piece_[XmcdPieceLimit + 1] = {};
};
