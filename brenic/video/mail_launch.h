// Starts the desktop's mail composer (xdg-email) with a subject, a body and an attachment
// (a Unix path; any of them may be empty) and waits for it a bounded time. Kept free of
// windows.h: it calls the C library's process functions.
#pragma once

enum MailLaunchResult
{
    MAIL_SENT_TO_COMPOSER = 0, // the composer took the message
    MAIL_NO_COMPOSER = 1,      // no xdg-email on PATH
    MAIL_COMPOSER_FAILED = 2   // it ran but failed, or did not finish in time
};

MailLaunchResult LaunchMailComposer(const char* subject, const char* body,
                                    const char* unixAttachment, int timeoutMs);
