// A copy of the log in a file (TUNOVA_LOG), written whether or not the window exists.
// The file is UTF-8, as every line is; its name may hold any letter.
#pragma once

#include <string>

// Reads TUNOVA_LOG once; an empty or unset variable means no file.
bool LogFileEnabled();

// Appends the line and a "\r\n", so that the file holds the window's text line by line.
void AppendLogFile(const std::string& line);

// Tests point the copy at a file of their own (empty path: none), overriding TUNOVA_LOG.
void SetLogFilePath(const std::string& path);
