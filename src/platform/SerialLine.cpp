#include "SerialLine.h"

namespace kap {
SerialLine::~SerialLine() = default;
}
