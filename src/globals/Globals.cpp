#include "globals/Globals.h"

namespace nt {

GlobalSettings& globals() {
    static GlobalSettings instance;
    return instance;
}

}  // namespace nt
