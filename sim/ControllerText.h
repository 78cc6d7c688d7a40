// The fixed texts the controller sends. No error line holds "OK", "NG", "STOP" or "READY":
// the tool finds reply words by plain substring search over everything it received.
#pragma once

namespace sim {

inline constexpr char kBreak = '\x03';
inline constexpr char kEndOfData = '\x1a';

inline constexpr char kOk[] = "OK\r\n";
inline constexpr char kReady[] = "READY\r\n";
inline constexpr char kStopReply[] = "STOP\r\nSTOPPED\r\n";

inline constexpr char kErrUnknown[] = "E-01 UNKNOWN COMMAND";
inline constexpr char kErrFormat[] = "E-02 FORMAT ERROR";
inline constexpr char kErrValue[] = "E-03 VALUE ERROR";
inline constexpr char kErrBusy[] = "E-04 BUSY";
inline constexpr char kErrNoBlock[] = "E-05 NO WRITE BLOCK";
inline constexpr char kErrNoPoint[] = "E-06 POINT NOT DEFINED";
inline constexpr char kErrNoOrigin[] = "E-07 ORIGIN NOT ESTABLISHED";
inline constexpr char kErrAlarm[] = "E-08 ALARM ACTIVE";
inline constexpr char kErrLimit[] = "E-37 SOFTWARE LIMIT";
inline constexpr char kErrRefused[] = "E-99 REFUSED";

}  // namespace sim
