#include "link/CommandRequest.h"

namespace kap {

QString commandWord(qint16 code, bool startupBuilder)
{
    if (startupBuilder && code >= 0 && code <= 14)
        return {};
    switch (code) {
    case cmd::ORG:
        return QStringLiteral("@ORG ");
    case cmd::MOVD:
        return QStringLiteral("@MOVD ");
    case cmd::MOVP:
        return QStringLiteral("@MOVP ");
    case cmd::XPlus:
        return QStringLiteral("@X+ ");
    case cmd::XMinus:
        return QStringLiteral("@X- ");
    case cmd::XINC:
        return QStringLiteral("@XINC ");
    case cmd::XDEC:
        return QStringLiteral("@XDEC ");
    case cmd::SRVO:
        return QStringLiteral("@SRVO ");
    case cmd::BRK:
        return QStringLiteral("@BRK ");
    case cmd::ALR:
        return QStringLiteral("@ALR ");
    case cmd::CCLR:
        return QStringLiteral("@CCLR ");
    case cmd::PRESS:
        return QStringLiteral("@PRESS ");
    case cmd::GMIN:
        return QStringLiteral("@GMIN ");
    case cmd::GMAX:
        return QStringLiteral("@GMAX ");
    case cmd::ORGC:
        return QStringLiteral("@ORGC ");
    case cmd::QVER:
        return QStringLiteral("@?VER ");
    case cmd::QPOS:
        return QStringLiteral("@?POS ");
    case cmd::QPNO:
        return QStringLiteral("@?PNO ");
    case cmd::QPRM:
        return QStringLiteral("@?PRM ");
    case cmd::QP:
        return QStringLiteral("@?P ");
    case cmd::QORG:
        return QStringLiteral("@?ORG ");
    case cmd::QSRVO:
        return QStringLiteral("@?SRVO ");
    case cmd::QBRK:
        return QStringLiteral("@?BRK ");
    case cmd::QPRS:
        return QStringLiteral("@?PRS ");
    case cmd::READ_PNT:
        return QStringLiteral("@READ PNT ");
    case cmd::READ_PRM:
        return QStringLiteral("@READ PRM ");
    case cmd::READ_ERR:
        return QStringLiteral("@READ ERR ");
    case cmd::WRITE_PNT:
        return QStringLiteral("@WRITE PNT ");
    case cmd::WRITE_PRM:
        return QStringLiteral("@WRITE PRM ");
    case cmd::PDEL:
        return QStringLiteral("@PDEL ");
    case cmd::INIT_PNT:
        return QStringLiteral("@INIT PNT ");
    case cmd::INIT_PRM:
        return QStringLiteral("@INIT PRM ");
    case cmd::READ_ZON:
        return QStringLiteral("@READ ZON ");
    case cmd::INIT_ZON:
        return QStringLiteral("@INIT ZON ");
    case cmd::WRITE_ZON:
        return QStringLiteral("@WRITE ZON ");
    case cmd::READ_DIO:
        return QStringLiteral("@READ DIO ");
    case cmd::INIT_ORG:
        return QStringLiteral("@INIT ORG ");
    case cmd::RecordP:
        return QStringLiteral("P");
    case cmd::RecordPRM:
        return QStringLiteral("PRM");
    case cmd::RecordZ:
        return QStringLiteral("Z");
    default:
        return {};
    }
}

void CommandRequest::clear()
{
    word.clear();
    argument.clear();
    trailer.clear();
    line.clear();
}

void CommandRequest::build(bool startupBuilder)
{
    if (code == cmd::Break || code == cmd::EndOfData) {
        line = QString(QChar::fromLatin1(code == cmd::Break ? kBreakByte : kEndOfDataByte));
        return;
    }
    const QString tableWord = commandWord(code, startupBuilder);
    const bool record = code >= cmd::RecordP && code <= cmd::RecordZ;
    // A code outside the table keeps whatever word holds and is framed as a command line.
    if (!tableWord.isEmpty())
        word = tableWord;
    if (!record)
        argument += QLatin1Char(',');
    trailer += QLatin1String("\r\n");
    line = word + argument + trailer;
}

}  // namespace kap
