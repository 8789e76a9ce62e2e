#include "FatSimOptions.h"

bool FatPoint::Parse(const QString& text, FatPoint& point)
{
    static const struct
    {
        const char* name;
        Kind kind;
    } names[] = {{"ident", Ident},       {"header", Header}, {"record", Record},
                 {"ready", Ready},       {"echo", Echo},     {"count", CountEcho},
                 {"offset", OffsetEcho}, {"lzdata", LzData}, {"verdict", Verdict},
                 {"traffic", Traffic}};
    const QString name = text.section(':', 0, 0);
    const QString number = text.section(':', 1);
    for (const auto& n : names) {
        if (name != QLatin1String(n.name))
            continue;
        point.kind = n.kind;
        point.index = 0;
        if (HasIndex(n.kind)) {
            bool ok = false;
            point.index = number.toInt(&ok);
            return ok && point.index >= 0;
        }
        return number.isEmpty() && !text.contains(':');
    }
    return false;
}

namespace {

bool TakeInt(const QStringList& args, int& i, int& value, int min, int max, QString& error)
{
    if (i + 1 >= args.size()) {
        error = QStringLiteral("%1 needs a value").arg(args.at(i));
        return false;
    }
    bool ok = false;
    const QString text = args.at(++i);
    value = text.startsWith(QLatin1String("0x")) ? text.mid(2).toInt(&ok, 16) : text.toInt(&ok);
    if (!ok || value < min || value > max) {
        error = QStringLiteral("%1: %2 is not a number from %3 to %4")
                    .arg(args.at(i - 1), text)
                    .arg(min)
                    .arg(max);
        return false;
    }
    return true;
}

bool TakeText(const QStringList& args, int& i, QString& value, QString& error)
{
    if (i + 1 >= args.size()) {
        error = QStringLiteral("%1 needs a value").arg(args.at(i));
        return false;
    }
    value = args.at(++i);
    return true;
}

} // namespace

bool FatSimOptions::Parse(const QStringList& args, QString& error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        QString text;
        if (a == QLatin1String("--maker")) {
            if (!TakeText(args, i, text, error))
                return false;
            if (text.size() != 2) {
                error = QStringLiteral("--maker takes two letters");
                return false;
            }
            maker = text.toLatin1();
        } else if (a == QLatin1String("--model")) {
            if (!TakeText(args, i, text, error))
                return false;
            if (text.size() != 1) {
                error = QStringLiteral("--model takes one character");
                return false;
            }
            modelDigit = text.at(0).toLatin1();
        } else if (a == QLatin1String("--version")) {
            if (!TakeText(args, i, text, error))
                return false;
            version = text.toLatin1().leftJustified(6, ' ', true);
        } else if (a == QLatin1String("--ident")) {
            if (!TakeText(args, i, text, error))
                return false;
            identOverride = text.toLatin1();
            if (identOverride.size() != 32) {
                error = QStringLiteral("--ident takes exactly 32 characters");
                return false;
            }
        } else if (a == QLatin1String("--display")) {
            if (!TakeInt(args, i, displayChars, 0, 255, error))
                return false;
        } else if (a == QLatin1String("--records")) {
            if (!TakeInt(args, i, maxRecords, 0, 65535, error))
                return false;
        } else if (a == QLatin1String("--detector-digits")) {
            if (!TakeInt(args, i, detectorDigits, 0, 255, error))
                return false;
        } else if (a == QLatin1String("--group-digits")) {
            if (!TakeInt(args, i, groupDigits, 0, 255, error))
                return false;
        } else if (a == QLatin1String("--adaptation")) {
            if (!TakeInt(args, i, adaptation, 0, 255, error))
                return false;
        } else if (a == QLatin1String("--link")) {
            if (!TakeText(args, i, linkPath, error))
                return false;
        } else if (a == QLatin1String("--store")) {
            if (!TakeText(args, i, storePath, error))
                return false;
        } else if (a == QLatin1String("--log")) {
            if (!TakeText(args, i, logPath, error))
                return false;
        } else if (a == QLatin1String("--baud")) {
            if (!TakeInt(args, i, baudRate, 50, 4000000, error))
                return false;
        } else if (a == QLatin1String("--idle-reset")) {
            if (!TakeInt(args, i, idleResetMs, 1, 3600000, error))
                return false;
        } else if (a == QLatin1String("--traffic")) {
            if (!TakeText(args, i, trafficPath, error))
                return false;
        } else if (a == QLatin1String("--rate")) {
            if (!TakeInt(args, i, rate, 0, 100000000, error))
                return false;
        } else if (a == QLatin1String("--traffic-bytes")) {
            int bytes = 0;
            if (!TakeInt(args, i, bytes, 0, 2000000000, error))
                return false;
            trafficBytes = bytes;
        } else if (a == QLatin1String("--return-after")) {
            if (!TakeInt(args, i, returnAfterMs, 0, 3600000, error))
                return false;
        } else if (a == QLatin1String("--empty-zero")) {
            emptyAsZero = true;
        } else if (a == QLatin1String("--not-ready")) {
            if (!TakeInt(args, i, notReady, 0, 1000000, error))
                return false;
        } else if (a == QLatin1String("--wrong-echo")) {
            if (!TakeInt(args, i, wrongEcho, 0, 100000000, error))
                return false;
        } else if (a == QLatin1String("--wrong-count-echo")) {
            wrongCountEcho = true;
        } else if (a == QLatin1String("--wrong-offset-echo")) {
            wrongOffsetEcho = true;
        } else if (a == QLatin1String("--silent")) {
            silent = true;
        } else if (a == QLatin1String("--ident-length")) {
            if (!TakeInt(args, i, identLength, 0, 4096, error))
                return false;
        } else if (a == QLatin1String("--short-record")) {
            if (!TakeInt(args, i, shortRecord, 0, 65535, error))
                return false;
        } else if (a == QLatin1String("--unknown-type")) {
            if (!TakeInt(args, i, unknownType, 0, 65535, error))
                return false;
        } else if (a == QLatin1String("--wrong-verdict")) {
            wrongVerdict = true;
        } else if (a == QLatin1String("--lz-bad-end")) {
            lzBadEnd = true;
        } else if (a == QLatin1String("--pause")) {
            if (!TakeInt(args, i, pauseMs, 0, 3600000, error))
                return false;
        } else if (a == QLatin1String("--pause-at") || a == QLatin1String("--silent-at") ||
                   a == QLatin1String("--vanish-at")) {
            if (!TakeText(args, i, text, error))
                return false;
            FatPoint& point = a == QLatin1String("--pause-at")    ? pauseAt
                              : a == QLatin1String("--silent-at") ? silentAt
                                                                  : vanishAt;
            if (!FatPoint::Parse(text, point)) {
                error = QStringLiteral("%1: unknown point %2").arg(a, text);
                return false;
            }
        } else {
            error = QStringLiteral("unknown option %1").arg(a);
            return false;
        }
    }
    if (returnAfterMs >= 0 && linkPath.isEmpty()) {
        error = QStringLiteral("--return-after needs --link");
        return false;
    }
    if (pauseAt.kind == FatPoint::Traffic) {
        error = QStringLiteral("--pause-at takes no traffic point");
        return false;
    }
    if (pauseMs > 0 && pauseAt.kind == FatPoint::None) {
        error = QStringLiteral("--pause needs --pause-at");
        return false;
    }
    return true;
}

QByteArray FatSimOptions::Identification() const
{
    if (!identOverride.isEmpty())
        return identOverride;
    QByteArray id(32, ' ');
    id[0] = maker.at(0);
    id[1] = maker.at(1);
    id[3] = modelDigit;
    id.replace(4, 6, "FATSIM");
    id.replace(10, 6, version);
    id[16] = char(displayChars);
    id[17] = char(maxRecords >> 8);
    id[18] = char(maxRecords & 0xFF);
    id[19] = char(detectorDigits);
    id[20] = char(groupDigits);
    id[21] = '0';
    id[22] = char(adaptation);
    return id;
}

int FatSimOptions::RecordLength(unsigned char type) const
{
    switch (type >> 4) {
    case 0x8:
        return displayChars - 1;
    case 0x4:
        return groupDigits + displayChars - 1;
    case 0x2:
        return groupDigits + detectorDigits + displayChars + 1;
    default:
        return 0;
    }
}

QString FatSimOptions::Usage()
{
    return QStringLiteral(
        "usage: fatsim [OPTIONS]\n"
        "       fatsim --help | --version    (alone: this text, the program's version)\n"
        "Plays a FAT on a new pseudo-terminal and prints the device path on the first line.\n"
        "Identification:\n"
        "  --maker XY             maker letters (default BO)\n"
        "  --model C              model digit at position 3 (default 1)\n"
        "  --version TEXT         FAT version, positions 10 to 15 (default \"V2.10 \")\n"
        "  --display N            display characters, both lines (default 40)\n"
        "  --records N            record limit (default 1000)\n"
        "  --detector-digits N    (default 2)\n"
        "  --group-digits N       (default 4)\n"
        "  --adaptation N         adaptation byte, position 22 (default 0)\n"
        "  --ident TEXT           the whole identification, 32 characters\n"
        "Files:\n"
        "  --link PATH            symbolic link to the device\n"
        "  --store FILE           texts and LZ table kept between runs (JSON)\n"
        "  --log FILE             every byte with a time stamp\n"
        "Line:\n"
        "  --baud N               pace every answer by the wire time of N baud\n"
        "  --idle-reset MS        silence that returns the FAT to idle (default 1500)\n"
        "  --empty-zero           an empty FAT reports count 00 00 instead of FF FF\n"
        "Recorder traffic (sent after \"S\" until \"H\"):\n"
        "  --traffic FILE         send the bytes of FILE once, in chunks\n"
        "                         (default: endless traffic made up like the maker's panel)\n"
        "  --rate N               bytes per second (default 960; 0 = as fast as possible)\n"
        "  --traffic-bytes N      end the made-up traffic after N bytes\n"
        "Faults:\n"
        "  --not-ready N          answer 0x15 to the first N write commands\n"
        "  --wrong-echo K         echo data byte K wrongly (record bytes or LZ entries)\n"
        "  --wrong-count-echo     echo the first count byte wrongly\n"
        "  --wrong-offset-echo    echo the first offset byte wrongly\n"
        "  --silent               never answer\n"
        "  --ident-length N       send N bytes of identification instead of 32\n"
        "  --short-record K       send record K one byte short\n"
        "  --unknown-type K       send record K with the unknown type byte 0x18\n"
        "  --wrong-verdict        reject a right LZ checksum and accept a wrong one\n"
        "  --lz-bad-end           end the LZ table with 0x01 instead of 0x00\n"
        "  --pause MS --pause-at POINT   wait MS before the answer at POINT\n"
        "  --silent-at POINT      stop answering from POINT on\n"
        "  --vanish-at POINT      close the device and exit at POINT\n"
        "  --return-after MS      after vanishing, come back under --link after MS\n"
        "POINT: ident, header, record:K, ready, count, offset, echo:K, lzdata, verdict,\n"
        "       traffic:K (silent-at and vanish-at only: after K bytes of traffic)\n");
}
