// The player's name ("Player.bin") and the high-score names ("Name.bin"):
// 8 character codes per name, zero-padded, and their conversions to and from texts.
#include "core/file_channels.h"
#include "core/rt_string.h"
#include "game/data_files.h"
#include "game/state.h"

namespace {

// Character `position` of `text` as a code; 0 past the end.
double CodeAt(const RtString& text, double position)
{
    RtStr character;
    StrMid(character.raw(), text, position, 1);
    return CharCode(character.raw());
}

// A zero code adds nothing, so a gap inside the 8 bytes closes up.
void AppendCode(RtString& text, double code)
{
    RtStr character;
    CharFromCode(character.raw(), code);
    StrAppend(text, character.raw());
}

}  // namespace

void LoadPlayer()
{
    FileOpen(DataChannel, SaveFilePath(SaveFile::Player), OpenForReading);
    for (double i = 0; i <= 7; i++) FileReadByte(DataChannel, PlayerBytes[i]);
    FileClose(DataChannel);
}

void PlayerNameFromBytes()
{
    PlayerName = "";
    for (double i = 0; i <= 7; i++) AppendCode(PlayerName.raw(), PlayerBytes[i]);
}

void SavePlayer()
{
    for (double i = 0; i <= 7; i++) PlayerBytes[i] = CodeAt(PlayerName.raw(), i);
    FileOpen(DataChannel, SaveFilePath(SaveFile::Player), OpenAnew);
    for (double i = 0; i <= 7; i++) FileWriteByte(DataChannel, PlayerBytes[i]);
    FileClose(DataChannel);
}

void LoadNsData()
{
    FileOpen(DataChannel, SaveFilePath(SaveFile::Names), OpenForReading);
    for (double k = 0; k <= 6399; k++) FileReadByte(DataChannel, NameBytes[k]);
    FileClose(DataChannel);
}

void SaveNsData()
{
    FileOpen(DataChannel, SaveFilePath(SaveFile::Names), OpenAnew);
    for (double k = 0; k <= 6399; k++) FileWriteByte(DataChannel, NameBytes[k]);
    FileClose(DataChannel);
}

// Each name is built from empty, so a second call gives the same names, not doubled ones.
void MakeString()
{
    for (double n = 0; n <= 799; n++) {
        StrAssignChars(HsNames[n], "");
        for (double j = 0; j <= 7; j++) AppendCode(HsNames[n], NameBytes[n * 8 + j]);
    }
}

void MakeNsData()
{
    for (double n = 0; n <= 799; n++) {
        for (double j = 0; j <= 7; j++) NameBytes[n * 8 + j] = CodeAt(HsNames[n], j);
    }
}
