#include "cddb/xmcdreader.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

// A piece needs only a few hundred bytes; the skip over a big local database file grows
// the buffer up to the largest size, so that it costs few reads. Most entries are read
// whole within the first size.
constexpr std::size_t FirstBufferSize = 16 << 10;
constexpr std::size_t LargestBufferSize = 1 << 20;

} // namespace

XmcdPieceReader::XmcdPieceReader(std::FILE* file) : file_(file), buffer_(FirstBufferSize) {}

void XmcdPieceReader::Fill(std::size_t want) {
    if (end_ - begin_ >= want || atEnd_) return;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    while (end_ < want && !atEnd_) {
        const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
        if (got == 0) atEnd_ = true;
        end_ += got;
    }
}

bool XmcdPieceReader::Next(const char** piece, std::size_t* length) {
    // A piece ends within 255 characters, and "\r\n" needs one byte more to be seen.
    Fill(XmcdPieceLimit + 2);
    const std::size_t held = end_ - begin_;
    if (held == 0) return false;

    const char* start = buffer_.data() + begin_;
    const std::size_t scan = std::min(held, XmcdPieceLimit + 2);
    const char* newline = static_cast<const char*>(std::memchr(start, '\n', scan));
    std::size_t content;
    std::size_t consumed;
    if (newline) {
        const std::size_t lineLength = static_cast<std::size_t>(newline - start);
        const bool crlf = lineLength > 0 && start[lineLength - 1] == '\r';
        content = crlf ? lineLength - 1 : lineLength;
        if (content < XmcdPieceLimit) {
            consumed = lineLength + 1; // the line end goes with the piece
        } else {
            content = XmcdPieceLimit;
            consumed = XmcdPieceLimit;
        }
    } else {
        content = std::min(held, XmcdPieceLimit);
        consumed = content;
    }
    std::memcpy(piece_, start, content);
    piece_[content] = '\0';
    begin_ += consumed;
    *piece = piece_;
    *length = content;
    return true;
}

bool XmcdPieceReader::SkipToPiece(const char* prefix, std::size_t prefixLength) {
    if (prefixLength == 0) return true;
    const std::boyer_moore_horspool_searcher<const char*> searcher(prefix, prefix + prefixLength);
    // Characters since the start of the physical line at begin_: pieces start where
    // this is a multiple of 255.
    std::size_t column = 0;
    for (;;) {
        Fill(buffer_.size());
        const char* base = buffer_.data() + begin_;
        const char* limit = buffer_.data() + end_;
        const char* from = base;
        for (;;) {
            const char* hit = std::search(from, limit, searcher);
            if (hit == limit) break;
            // Find the start of the line the hit is on, within what is held.
            const char* lineStart = hit;
            while (lineStart > base && lineStart[-1] != '\n') --lineStart;
            const std::size_t hitColumn =
                static_cast<std::size_t>(hit - lineStart) + (lineStart == base ? column : 0);
            if (hitColumn % XmcdPieceLimit == 0) {
                begin_ = static_cast<std::size_t>(hit - buffer_.data());
                return true;
            }
            from = hit + 1;
        }
        if (atEnd_) {
            begin_ = end_;
            return false;
        }
        // Keep the last prefixLength - 1 bytes: a match may straddle the next read.
        const std::size_t keep = std::min(prefixLength - 1, static_cast<std::size_t>(limit - base));
        const char* newBegin = limit - keep;
        const char* lastNewline = newBegin;
        while (lastNewline > base && lastNewline[-1] != '\n') --lastNewline;
        column = static_cast<std::size_t>(newBegin - lastNewline) + (lastNewline == base ? column : 0);
        begin_ = static_cast<std::size_t>(newBegin - buffer_.data());
        if (buffer_.size() < LargestBufferSize) buffer_.resize(buffer_.size() * 2);
    }
}
