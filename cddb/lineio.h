// Line-oriented reading and writing over a socket for the cddb and SMTP conversations.
// Every wait for a reply is bounded: 30 select() waits of 2 seconds, then the read
// fails with "Reached retry limit." in the log.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/sockets.h"

constexpr int ReceiveSize = 1024;
constexpr int WaitSecondsPerAttempt = 2;
constexpr int WaitAttempts = 30;
// Longest keyed xmcd line before its "\r\n".
constexpr int KeyedLineLimit = 78;
// Size of an SMTP reply buffer: one receive and the terminator.
constexpr int SmtpReplySize = ReceiveSize + 1;

// A separator is a control character, the blank or any byte outside ASCII; words are
// runs of other bytes.
inline bool IsSeparator(unsigned char c) { return c <= 32 || c >= 128; }
// In titles, bytes 128 to 255 are letters of the code page: only control characters and
// the blank separate there.
inline bool IsTitleSeparator(unsigned char c) { return c <= 32; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// The first non-separator of text (its terminator when there is none).
const char* SkipSeparators(const char* text);

// The buffered reader of one cddb server conversation. The line buffer is one byte
// larger than a receive, so any line it hands out fits with its terminator.
struct ResponseReader {
    char line[ReceiveSize + 1] = {};
    char block[ReceiveSize] = {};
    std::int32_t count = 0;    // valid bytes in block
    std::int32_t position = 0; // index in block of the last byte handed out
};

// Empties the reader for a new connection.
void ResetResponseReader(ResponseReader& reader);

// The wait rule: true as soon as select() reports the socket (data, end or error);
// false after 30 silent waits, with "Reached retry limit." logged.
bool WaitForData(SocketHandle connection);

// Hands out the next line (or the part of it in this receive) in reader.line, with a
// final "\r\n" turned into "\n". Returns the bytes taken from the block for it, or 0 on
// time-out, end of stream or a receive error.
int ReadResponseLine(ResponseReader& reader, SocketHandle connection);

// 1 when a cddb status line is acceptable; a code whose second digit is 1 announces
// further lines, which are read through reader until a line that does not, each logged
// as received.
int CheckStatusLine(const char* line, ResponseReader& reader, SocketHandle connection);

// Reads a complete SMTP reply into reply (SmtpReplySize bytes) and returns its final
// line, or null on failure. Continuation lines ("250-...") are logged and dropped; a
// reply of SmtpReplyLineLimit of them counts as failed.
// The reply is also given up once deadline has passed (checked before every receive),
// so that a server trickling bytes inside the wait rule cannot hold the thread.
constexpr int SmtpReplyLineLimit = 64;
char* ReadSmtpReply(char* reply, SocketHandle connection,
                    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max());

// 1 when every byte went out, 0 at the first send error.
int SendAll(SocketHandle connection, const char* bytes, int count);
// Sends "key value\r\n", splitting the value over as many lines (each repeating the
// key) as keep every line within 78 characters. 1 on success, 0 on a send error.
int SendKeyedValue(const char* key, const char* value, SocketHandle connection);

// Ends a conversation: closes the socket if there is one (and forgets it), ends this
// conversation's use of the socket layer, and empties the reader if one is given.
void CloseConnection(SocketHandle* connection, ResponseReader* reader);
