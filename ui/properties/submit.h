// The cddb Submit page's and the submit dialog's rules as plain functions: the SMTP
// fields of the copy, the category list's lines and whether the disc is fully titled.
#pragma once

#include <string>
#include <vector>

struct PropertiesCopy;
struct DiscInfoRecord;

// The most characters of the SMTP texts the copy keeps (its fields are 40 wide with
// the terminator).
constexpr int SmtpTextLength = 39;

struct SubmitPageValues {
    std::string returnAddress;
    std::string serverName;
};

SubmitPageValues SubmitPageFromCopy(const PropertiesCopy& copy);
// Texts longer than the copy keeps are cut to SmtpTextLength.
void StoreSubmitPage(const SubmitPageValues& page, PropertiesCopy& copy);
// A submission needs both the return address and the SMTP server.
bool HasSmtpSettings(const PropertiesCopy& copy);

// The line the dialog shows for a category entry "name - description": the text after
// its first " - ". An entry without a description is shown whole, so that it can still
// be told apart and chosen.
std::string CategoryDescription(const std::string& entry);
std::vector<std::string> CategoryLines(const std::vector<std::string>& entries);
// The line to select when the dialog opens: the last accepted category if the list has
// it, else the first line; -1 for an empty list.
int PreselectedCategory(int lastAccepted, int count);

// Complete: artist and title set and each of the disc's trackCount tracks titled.
bool DiscInfoComplete(const DiscInfoRecord& disc, int trackCount);
