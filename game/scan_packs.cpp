// Yam-yam packs: the nine cell codes a level leaves where a yam-yam was blown up. Ten packs per
// level in MapBuffer 600..689, used in rotation from YamPackIndex; walls 12..19 keep their code
// but still use up their entry, so each pack is always nine entries long.
#include "game/scans.h"
#include "game/state.h"

namespace {

constexpr double FirstPackEntry = 600;
constexpr double EndOfPacks = 690;

void PackCell(double x, double y) {
    double i = CellAt(x, y);
    if (!IsBlastProof(Cave[i])) Cave[i] = MapBuffer[YamPackIndex];
    YamPackIndex += 1;
}

}  // namespace

// The slot whose explosion has just ended comes in ScanX.
void YamPack() {
    double x = YamBlastX[ScanX], y = YamBlastY[ScanX];
    for (double dy = -16; dy <= 16; dy += 16)
        for (double dx = -16; dx <= 16; dx += 16) PackCell(x + dx, y + dy);
    if (YamPackIndex == EndOfPacks) YamPackIndex = FirstPackEntry;
}
