// The high-score tables: 8 places per level in "Data.bin", entering a new result.
#include "core/file_channels.h"
#include "core/rt_string.h"
#include "game/data_files.h"
#include "game/state.h"

namespace {

// The first place whose score is strictly lower, so a tie goes below the older result; 8 if none.
double PlaceFor(double score, double base)
{
    for (double r = 0; r <= 7; r++) {
        if (HsScores[base + r] < score) return r;
    }
    return 8;
}

// Places r..6 move down one, through the working rows; the old place 7 drops out.
void MoveDownFrom(double r, double base)
{
    for (double p = r; p <= 6; p++) {
        HsRowScores[p - r] = HsScores[base + p];
        StrAssign(HsRowNames[p - r], HsNames[base + p]);
    }
    for (double p = r; p <= 6; p++) {
        HsScores[base + p + 1] = HsRowScores[p - r];
        StrAssign(HsNames[base + p + 1], HsRowNames[p - r]);
    }
}

// FileWriteLong truncates into a signed 32-bit integer and stores anything larger as 2^31;
// scores above that read back from a file must be written back unchanged.
double AsSigned32(double score) { return score > 2147483647.0 ? score - 4294967296.0 : score; }

}  // namespace

void LoadHsData()
{
    FileOpen(DataChannel, SaveFilePath(SaveFile::Scores), OpenForReading);
    for (double k = 0; k <= 799; k++) FileReadLong(DataChannel, HsScores[k]);
    FileClose(DataChannel);
}

void SaveHsData()
{
    FileOpen(DataChannel, SaveFilePath(SaveFile::Scores), OpenAnew);
    for (double k = 0; k <= 799; k++) FileWriteLong(DataChannel, AsSigned32(HsScores[k]));
    FileClose(DataChannel);
}

void WriteHighscore()
{
    const double base = (CurrentLevel - 1) * 8;
    const double r = PlaceFor(Score, base);
    if (r > 7) return;
    MoveDownFrom(r, base);
    HsScores[base + r] = Score;
    StrAssign(HsNames[base + r], PlayerName.raw());
}
