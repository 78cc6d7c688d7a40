// One command request: a command code and up to two arguments, assembled into the outgoing
// line. Link::exchange makes one for each exchange; build() appends the separators to the
// arguments in place, so a request is built once.
#pragma once

#include <QString>

namespace kap {

// Command codes of the controller's command set.
namespace cmd {
enum : qint16 {
    ORG = 0,
    MOVD = 1,
    MOVP = 2,
    XPlus = 3,
    XMinus = 4,
    XINC = 5,
    XDEC = 6,
    SRVO = 7,
    BRK = 8,
    ALR = 9,
    CCLR = 10,
    PRESS = 11,
    GMIN = 12,
    GMAX = 13,
    ORGC = 14,
    QVER = 100,
    QPOS = 101,
    QPNO = 102,
    QPRM = 103,
    QP = 104,
    QORG = 105,
    QSRVO = 106,
    QBRK = 107,
    QPRS = 108,
    READ_PNT = 200,
    READ_PRM = 201,
    READ_ERR = 202,
    WRITE_PNT = 203,
    WRITE_PRM = 204,
    PDEL = 205,
    INIT_PNT = 206,
    INIT_PRM = 207,
    READ_ZON = 208,
    INIT_ZON = 209,
    WRITE_ZON = 210,
    READ_DIO = 211,
    INIT_ORG = 212,
    RecordP = 300,
    RecordPRM = 301,
    RecordZ = 302,
    Break = 400,
    EndOfData = 401,
};
}

inline constexpr char kBreakByte = '\x03';
inline constexpr char kEndOfDataByte = '\x1a';

// The command word sent for a code (with its trailing blank), or a record prefix; empty for a
// code outside the table. The start-up window's builder knows no motion codes (0 to 14).
QString commandWord(qint16 code, bool startupBuilder = false);

struct CommandRequest {
    qint16 code = 0;
    QString word;      // the command word; build() sets it for a code of the table
    QString argument;  // before the comma
    QString trailer;   // after the comma
    QString line;      // the outgoing line

    void clear();
    // An argument given as a number is rendered in plain decimal.
    void setArgument(int v) { argument = QString::number(v); }
    // Assembles the line from the code and the arguments (without waiting for the link;
    // Link::exchange does that first).
    void build(bool startupBuilder = false);
};

}  // namespace kap
