#pragma once

#include <QString>

class ProfileFile;

// Whether published (four whole numbers joined by dots) is newer than current. Any part that
// is missing, empty or not a whole number in the 32-bit range on either side means no.
bool isNewerVersion(const QString &current, const QString &published);

// Whether an address from the update data may be handed to the shell: a web page or an
// e-mail, whatever the letter case of its scheme. A file, a share or a script named by the
// server is never opened.
bool isOpenableAddress(const QString &address);

// What the update data gives, kept for the whole run.
struct UpdateState
{
    QString publishedVersion = QStringLiteral("1.0.0.0");
    QString downloadAddress;
    QString news;
    QString homePage;     // the about window's web link
    QString noticeTarget; // the about window's notice link; empty hides it
};

// Takes the downloaded update data into state: the home page and notice target from section
// "dane", the published version, download address and news of this product from "Pelmora".
void applyUpdateData(const ProfileFile &data, const QString &defaultHomePage, UpdateState &state);
// When nothing could be downloaded.
void applyNoUpdateData(const QString &defaultHomePage, UpdateState &state);
