// The rule scans: one simulation step of every kind of cell, and the drawing that belongs to
// the rules (animals, doors, exit, lava, explosions). Defined in game/scan_*.cpp.
// Depends on game/state.h only; every routine works on the shared state.
// Scans act only on frames with FrameTick 0; the per-frame routines run on every frame.
// Helpers with arguments take pixel positions (cell = (y * 20 + x) / 16) and cell codes.
#pragma once

// Called by PlayOneFrame in this order (drawing routines of render.cpp interleaved).
void ScanExplosion();
void ScanWaxing();
void ScanMaterial();
void ScanRolling();
void ScanAnimals();
void ScanTumbrelMan();
void Animals();
void Doors();
void YamExplosion();
void DynaExplosion();
void BoyExplosion();

// Sub-steps of the scans above.
void StartRoll(double kind, double dir);      // cell from ScanIndex, ScanX, ScanY
void BlastRing(double y, double x);
void BlastCell(double y, double x, double code);
void YamBlastStart(double y, double x);
void YamClearCell(double y, double x);
void YamBlastCell(double y, double x);
void DynaBlastCell(double y, double x);
void BoyBlastCell(double x, double y);        // note the argument order
void YamPack();                               // slot s in ScanX
