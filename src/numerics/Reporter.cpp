#include "numerics/Reporter.h"

SilentReporter& SilentReporter::instance() {
    static SilentReporter r;
    return r;
}
