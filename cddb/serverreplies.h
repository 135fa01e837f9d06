// How the client judges the status lines of a cddb server, by the first three
// characters after any leading separators. Failures come with their status text.
#pragma once

#include <string>

// The message with its "#%s" replaced by the reply's first three characters.
std::string ReplyErrorText(const char* format, const char* reply);

// Each returns true when the reply lets the conversation go on; otherwise *failure holds
// the status text to show.
bool JudgeSignOn(const char* reply, std::string* failure);
bool JudgeHandshake(const char* reply, std::string* failure);
bool JudgeReadReply(const char* reply, std::string* failure);

enum class QueryOutcome { ExactMatch, InexactMatch, NoMatch, Failed };
QueryOutcome JudgeQueryReply(const char* reply, std::string* failure);
