#pragma once
// Chat logs: the lines of a logged channel are appended to logs/<channel>/<YYYY>-<MM>-<DD>.txt,
// one record a line, "[HH:MM:SS.t] " and the line as plain text.
#include <windows.h>

#include <string>

// Whether the channel name can be a folder of its own inside logs/: one path component that
// Windows accepts as it is (no separators, wildcards, quotes, control bytes or device names, no
// "." or "..", no trailing dot or space).
bool IsLogFolderName(const std::string& name);
// The record of a line at a time: bracketed time with tenths, the plain text and a line feed.
std::string ChatLogRecord(const SYSTEMTIME& time, const std::string& line);
// The file of a channel's lines of that day.
std::string ChatLogPath(const std::string& name, const SYSTEMTIME& time);
// Creates logs/ and logs/<name>/ (existing ones are fine); nothing for a name that is no folder.
void CreateChatLogFolder(const std::string& name);
// Appends the line's record at the local time to the channel's log of the day; the folders are
// made when missing. A name that is no folder, or a file that cannot be opened, writes nothing.
void WriteChatLog(const std::string& name, const std::string& line);
