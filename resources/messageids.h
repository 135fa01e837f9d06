// The program's own window messages. Each number is private to the windows that
// receive it, so one number serves several windows; tests and the end-to-end driver
// use these names.
#pragma once

// The notification icon's mouse messages, to the main window.
constexpr unsigned TrayCallbackMessage = 0xA710;
// The disc information has changed (a lookup ended), to the main window.
constexpr unsigned DiscInfoChangedMessage = 0xA711;

// A worker thread has ended, sent synchronously to the active property page: a lookup's
// end to the CD Information page, any other end to the other pages.
constexpr unsigned LookupEndedCdInfoMessage = 0xA710;
constexpr unsigned WorkEndedPageMessage = 0xA711;

// Lines are waiting in the log's mailbox, to the diagnostics window.
constexpr unsigned LogPendingMessage = 0xA711;

// End the Fuzzy Search Results dialog without a choice, sent from outside it.
constexpr unsigned EndChoiceMessage = 0xA712;
