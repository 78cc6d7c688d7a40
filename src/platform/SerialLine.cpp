#include "platform/SerialLine.h"

namespace kap {
SerialLine::~SerialLine() = default;
}
