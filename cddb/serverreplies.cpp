#include "cddb/serverreplies.h"

#include <cstdio>
#include <cstring>

#include "cddb/lineio.h"

namespace {

struct Code {
    char first, second, third;
};

// The first three characters after the leading separators; the terminator of a short
// reply reads as '\0', which is no digit.
Code CodeOf(const char* reply) {
    const char* start = SkipSeparators(reply);
    Code code{start[0], '\0', '\0'};
    if (code.first) code.second = start[1];
    if (code.second) code.third = start[2];
    return code;
}

bool Fail(const char* format, const char* reply, std::string* failure) {
    *failure = ReplyErrorText(format, reply);
    return false;
}

} // namespace

std::string ReplyErrorText(const char* format, const char* reply) {
    const char* start = SkipSeparators(reply);
    char code[4] = {};
    for (int i = 0; i < 3 && start[i] && start[i] != '\n'; ++i) code[i] = start[i];
    char text[128];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

bool JudgeSignOn(const char* reply, std::string* failure) {
    const Code code = CodeOf(reply);
    if (!IsDigit(code.first) || code.first == '1' || code.first == '5')
        return Fail("Server sign-on error #%s.", reply, failure);
    if (code.first == '4') {
        if (code.third == '2') return Fail("Permission denied by server.", reply, failure);
        if (code.third == '3') return Fail("Too many users on server.", reply, failure);
        if (code.third == '4') return Fail("Beyond maximum load on server.", reply, failure);
    }
    return true;
}

bool JudgeHandshake(const char* reply, std::string* failure) {
    const Code code = CodeOf(reply);
    if (!IsDigit(code.first) || code.first == '1' || code.first == '4' || code.first == '5')
        return Fail("Server handshake error #%s.", reply, failure);
    return true;
}

QueryOutcome JudgeQueryReply(const char* reply, std::string* failure) {
    const Code code = CodeOf(reply);
    if (code.first == '2' || code.first == '3') {
        // x1x: a list follows. 210 lists the exact matches of an id filed in several
        // categories (servers at protocol level 4 and up), to be chosen like close ones.
        if (code.second == '1') return QueryOutcome::InexactMatch;
        if (code.third == '0') return QueryOutcome::ExactMatch;
        if (code.third == '1') return QueryOutcome::InexactMatch;
        return QueryOutcome::NoMatch;
    }
    Fail("Server query error #%s.", reply, failure);
    return QueryOutcome::Failed;
}

bool JudgeReadReply(const char* reply, std::string* failure) {
    const Code code = CodeOf(reply);
    if (!IsDigit(code.first) || code.first == '1' || code.first == '4' || code.first == '5')
        return Fail("Server read request error #%s", reply, failure);
    if ((code.first == '2' || code.first == '3') &&
        (code.second == '0' || code.second == '2' || code.second == '3'))
        return Fail("Server read request error #%s.", reply, failure);
    return true;
}
