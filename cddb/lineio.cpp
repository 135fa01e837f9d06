#include "cddb/lineio.h"

#include <cstring>
#include <string>

#include "log/logmessage.h"
#include "platform/workerowner.h"

const char* SkipSeparators(const char* text) {
    while (*text && IsSeparator(static_cast<unsigned char>(*text))) ++text;
    return text;
}

void ResetResponseReader(ResponseReader& reader) {
    reader.line[0] = '\0';
    reader.count = 0;
    reader.position = 0;
}

bool WaitForData(SocketHandle connection) {
    for (int attempt = 0; attempt < WaitAttempts; ++attempt) {
        const int ready = WaitSocketReadable(connection, WaitSecondsPerAttempt);
        // The program is ending: nothing more is waited for or read.
        if (WorkerCancelled()) return false;
        if (ready != 0) return true;
    }
    LogMessage("Reached retry limit.");
    return false;
}

int ReadResponseLine(ResponseReader& reader, SocketHandle connection) {
    if (reader.count > 0 && reader.position < reader.count - 1) {
        ++reader.position; // past the "\n" handed out last
    } else {
        if (!WaitForData(connection)) return 0;
        const int received = ReceiveSocket(connection, reader.block, ReceiveSize);
        if (received <= 0) return 0;
        reader.count = received > ReceiveSize ? ReceiveSize : received;
        reader.position = 0;
    }

    const int start = reader.position;
    int end = start; // one past the last byte of this line in block
    while (end < reader.count) {
        if (reader.block[end++] == '\n') break;
    }
    const int taken = end - start;
    // taken <= ReceiveSize, and the line buffer holds ReceiveSize + 1 bytes. A NUL has
    // no place in the protocol's text: kept, it would hide the rest of the line, its
    // line end included, and so join the next line to this one.
    int length = 0;
    for (int i = start; i < end; ++i) {
        if (reader.block[i] != '\0') reader.line[length++] = reader.block[i];
    }
    if (length >= 2 && reader.line[length - 1] == '\n' && reader.line[length - 2] == '\r') {
        reader.line[length - 2] = '\n';
        --length;
    }
    reader.line[length] = '\0';
    reader.position = reader.block[end - 1] == '\n' ? end - 1 : reader.count;
    return taken;
}

int CheckStatusLine(const char* line, ResponseReader& reader, SocketHandle connection) {
    for (int i = 0; i < 3; ++i) {
        if (!IsDigit(line[i])) return 0; // also stops at a short line's terminator
    }
    const char* current = line;
    while (current[1] == '1') {
        if (ReadResponseLine(reader, connection) == 0) return 0;
        LogMessage("Received: ", reader.line);
        current = SkipSeparators(reader.line);
        if (!IsDigit(*current) || *current == '4' || *current == '5') return 0;
    }
    return 1;
}

namespace {

// The start of the last line of text: the last byte of code 32 to 127 that follows a
// "\n", else the start of the text.
char* FinalLine(char* text, int length) {
    char* final = text;
    for (int i = 1; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (text[i - 1] == '\n' && c >= 32 && c <= 127) final = text + i;
    }
    return final;
}

bool EndsWithCrLf(const char* text, int length) {
    return length >= 4 && text[length - 2] == '\r' && text[length - 1] == '\n';
}

} // namespace

char* ReadSmtpReply(char* reply, SocketHandle connection, std::chrono::steady_clock::time_point deadline) {
    // A server that never stops sending continuation lines must not hold the thread
    // either; real replies have a handful of them.
    int continuationLines = 0;
    for (;;) {
        int held = 0;
        reply[0] = '\0';
        do {
            // Every receive waits by the same rule, so a reply that starts and never
            // ends gives up instead of holding the thread.
            if (held == ReceiveSize) return nullptr; // full without a final "\r\n"
            if (std::chrono::steady_clock::now() >= deadline) {
                LogMessage("SMTP conversation passed its time limit.");
                return nullptr;
            }
            if (!WaitForData(connection)) return nullptr;
            const int received = ReceiveSocket(connection, reply + held, ReceiveSize - held);
            if (received <= 0) return nullptr;
            held += received;
        } while (!EndsWithCrLf(reply, held));
        reply[held] = '\0';

        char* final = FinalLine(reply, held);
        if (IsDigit(final[0]) && IsDigit(final[1]) && IsDigit(final[2]) && final[3] == ' ') return final;
        LogMessage("Received: ", reply);
        for (const char* end = std::strstr(reply, "\r\n"); end; end = std::strstr(end + 2, "\r\n")) {
            ++continuationLines;
        }
        if (continuationLines >= SmtpReplyLineLimit) {
            LogMessage("Reached retry limit.");
            return nullptr;
        }
    }
}

int SendAll(SocketHandle connection, const char* bytes, int count) {
    while (count > 0) {
        const int sent = SendSocket(connection, bytes, count);
        if (sent < 0) return 0;
        bytes += sent;
        count -= sent;
    }
    return 1;
}

namespace {

int SendKeyedLine(const char* key, const char* piece, std::size_t length, SocketHandle connection) {
    std::string line(key);
    line.append(piece, length);
    line += "\r\n";
    LogMessage("Sending: ", line.c_str());
    return SendAll(connection, line.data(), static_cast<int>(line.size()));
}

} // namespace

int SendKeyedValue(const char* key, const char* value, SocketHandle connection) {
    const std::size_t keyLength = std::strlen(key);
    // A key too long to leave room still sends its value, one character a line.
    const std::size_t room = keyLength < KeyedLineLimit ? KeyedLineLimit - keyLength : 1;
    std::size_t remaining = std::strlen(value);
    if (remaining == 0) return SendKeyedLine(key, value, 0, connection);
    while (remaining > 0) {
        const std::size_t piece = remaining < room ? remaining : room;
        if (!SendKeyedLine(key, value, piece, connection)) return 0;
        value += piece;
        remaining -= piece;
    }
    return 1;
}

void CloseConnection(SocketHandle* connection, ResponseReader* reader) {
    if (connection && *connection != NoSocket) {
        CloseSocket(*connection);
        *connection = NoSocket;
    }
    SocketCleanup();
    if (reader) ResetResponseReader(*reader);
}
