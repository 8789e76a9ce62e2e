#pragma once

// Qt
#include <QByteArray>
#include <QString>
#include <QStringList>

// A moment at which the simulated FAT is about to answer; faults (pause, silence, vanishing)
// are tied to one of them.
struct FatPoint
{
    enum Kind {
        None,
        Ident,
        Header,
        Record,
        Ready,
        Echo,
        CountEcho,
        OffsetEcho,
        LzData,
        Verdict,
        Traffic // after K bytes of the recorder's traffic
    };
    Kind kind = None;
    int index = 0; // record or data byte number for Record and Echo

    bool Matches(Kind k, int i = 0) const { return kind == k && (index == i || !HasIndex(k)); }
    static bool HasIndex(Kind k) { return k == Record || k == Echo || k == Traffic; }
    // "ident", "header", "record:K", "ready", "echo:K", "count", "offset", "lzdata", "verdict",
    // "traffic:K"
    static bool Parse(const QString& text, FatPoint& point);
};

// Everything the simulator can be told on its command line.
struct FatSimOptions
{
    // identification
    QByteArray maker = "BO";
    char modelDigit = '1';
    QByteArray version = "V2.10 ";
    int displayChars = 40;
    int maxRecords = 1000;
    int detectorDigits = 2;
    int groupDigits = 4;
    int adaptation = 0;
    QByteArray identOverride; // exactly 32 bytes when given

    // files
    QString linkPath;  // symbolic link to the device
    QString storePath; // what the FAT holds, kept between runs
    QString logPath;   // every byte with a time stamp

    // line
    int baudRate = 0;         // 0 = answer at once; otherwise pace answers by the byte time
    int idleResetMs = 1500;   // a gap this long returns the FAT to its idle state
    bool emptyAsZero = false; // report an empty store with count 00 00 instead of FF FF

    // the recorder's traffic after "S", until "H"
    QString trafficPath;      // these bytes once; otherwise traffic made up by maker
    int rate = 960;           // bytes per second, 0 = as fast as the line takes them
    qint64 trafficBytes = -1; // made-up traffic ends after this many bytes (-1 = never)
    int returnAfterMs = -1;   // after vanishing, come back under --link after this long

    // faults
    int notReady = 0;            // answer 0x15 to this many write commands first
    int wrongEcho = -1;          // data byte K echoed wrongly (record bytes or LZ entries)
    bool wrongCountEcho = false; // first count byte echoed wrongly
    bool wrongOffsetEcho = false;
    bool silent = false;  // never answer
    int identLength = 32; // bytes sent for the identification
    int shortRecord = -1; // record K sent one byte short
    int unknownType = -1; // record K sent with an unknown type byte
    bool wrongVerdict = false;
    bool lzBadEnd = false; // the LZ table ends with a byte other than 0
    int pauseMs = 0;
    FatPoint pauseAt;
    FatPoint silentAt;
    FatPoint vanishAt;

    // Reads the options; false with a message in error on a bad line.
    bool Parse(const QStringList& args, QString& error);
    // The 32-byte identification these options describe.
    QByteArray Identification() const;
    // Wire length of a record of the given type byte; 0 for an unknown type.
    int RecordLength(unsigned char type) const;

    static QString Usage();
};
