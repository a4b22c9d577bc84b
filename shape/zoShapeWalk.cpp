// zoShape: the primitive walker (see zoShapeWalk.h).
#include "shape/zoShapeWalk.h"

int zoEntryWalk::size() const {
    zoEntryWalk w(list, count, vertexCount);
    int n = 0, e;
    while (w.next(e)) ++n;
    return n;
}
