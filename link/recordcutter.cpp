#include "link/recordcutter.h"

void RecordCutter::append(const QByteArray& bytes) { m_buffer.append(bytes); }
bool RecordCutter::next(QByteArray*) { return false; }
void RecordCutter::clear() { m_buffer.clear(); }
