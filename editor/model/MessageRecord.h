#pragma once

// Qt
#include <QByteArray>

// One display text entry. Numbers are digit text, zero-padded to the project's digit counts,
// so leading zeros survive; all texts are Windows-1252 bytes. Byte strings rather than fixed
// arrays, so that every length a project allows fits.
struct MessageRecord
{
    QByteArray pseudoGroup; // only with tag "P"
    QByteArray group;       // digits, or "+" and the card digits
    QByteArray detector;
    QByteArray text1;
    QByteArray text2;
    QByteArray formatTag; // "S", "P" or "F"
};
