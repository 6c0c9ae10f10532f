#include "IndexChangeCommand.h"

IndexChangeCommand::IndexChangeCommand(int from, int to)
    : HistoryCommand(QStringLiteral("Index Change")), m_from(from), m_to(to)
{
}
