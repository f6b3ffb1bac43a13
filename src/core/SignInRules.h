#pragma once

#include <QString>

// The rules of signing in, over the users table and the running thread's USR: buffer. The table must be
// open on the running thread.
namespace jornix {

class Record;

// Reads the user with this login id into the buffer; the login id is found without regard to case.
bool FetchUser(const QString& loginId);

// Whether the user must change the password before signing in: when flagged to change it at the next
// sign-in, or when an expiry count above 0 lies more than that many days behind the last change.
bool PasswordChangeDue(const Record& user, int today);

// Sets the signed-in user values from the user's record.
void FillSignedInUser(const Record& user);

// Stamps today as the signed-in user's last sign-in, when the user is still there.
void StampLastLogin();

// Keeps the signed-in user's login id in the settings, written alone, while remembering it is on.
void RememberLastLoginID();

} // namespace jornix
