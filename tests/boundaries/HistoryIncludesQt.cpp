// Must not compile: price histories are read and measured without Qt (IncludeBoundary test).
#include <QString>
