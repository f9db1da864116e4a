#pragma once
// The 43 effect routines, by family. Only Transition calls them, with the
// arguments of its table. Arguments are 16-bit like the saver's integers.

#include <cstdint>

#include "transitions/transition_context.h"

namespace pictavo::transitions {

// Strip wipes (s = strip width, d = delay units).
void WipeDown(TransitionContext& c, int16_t s, int16_t d);
void WipeUp(TransitionContext& c, int16_t s, int16_t d);
void WipeRight(TransitionContext& c, int16_t s, int16_t d);
void WipeLeft(TransitionContext& c, int16_t s, int16_t d);
void CentreOutRows(TransitionContext& c, int16_t s, int16_t d);
void EdgesInRows(TransitionContext& c, int16_t s, int16_t d);
void EdgesInColumns(TransitionContext& c, int16_t s, int16_t d);
void CentreOutColumns(TransitionContext& c, int16_t s, int16_t d);

// Interlaced strips and blinds (s = strip width or band count), and the smear
// (m = band count).
void InterlacedRows(TransitionContext& c, int16_t s, int16_t d);
void InterlacedColumns(TransitionContext& c, int16_t s, int16_t d);
void PairedRows(TransitionContext& c, int16_t s, int16_t d);
void PairedColumns(TransitionContext& c, int16_t s, int16_t d);
void HorizontalBlinds(TransitionContext& c, int16_t s, int16_t d);
void VerticalBlinds(TransitionContext& c, int16_t s, int16_t d);
void SmearUp(TransitionContext& c, int16_t m, int16_t d);

// Slides (s = number of steps).
void SlideFromTop(TransitionContext& c, int16_t s, int16_t d);
void SlideFromBottom(TransitionContext& c, int16_t s, int16_t d);
void SlideFromLeft(TransitionContext& c, int16_t s, int16_t d);
void SlideFromRight(TransitionContext& c, int16_t s, int16_t d);
void SlideFromTopLeft(TransitionContext& c, int16_t s, int16_t d);
void SlideFromBottomLeft(TransitionContext& c, int16_t s, int16_t d);

// Block patterns.
void SnakeColumns(TransitionContext& c, int16_t s, int16_t d);
void SnakeRows(TransitionContext& c, int16_t s, int16_t d);
void CounterColumns(TransitionContext& c, int16_t a, int16_t b, int16_t d);
void CounterRows(TransitionContext& c, int16_t a, int16_t b, int16_t d);
void SpiralBlocks(TransitionContext& c, int16_t s, int16_t d);
void DiamondOut(TransitionContext& c, int16_t a, int16_t b, int16_t d);
// Doubles its own copy of s from pass to pass.
void RandomBlocks(TransitionContext& c, int16_t s, int16_t d);

// Diagonal sweeps (w x h blocks).
void DiagonalSweep(TransitionContext& c, int16_t w, int16_t h, int16_t d);
void DiagonalInterlace(TransitionContext& c, int16_t w, int16_t h, int16_t d);
void DiagonalChecker(TransitionContext& c, int16_t size, int16_t d);
void DiagonalCheckerReturn(TransitionContext& c, int16_t size, int16_t d);

// Stretch reveals (s = step size); 32 and 41 take an extra first argument
// they do not use.
void StretchFromCentre(TransitionContext& c, int16_t ignored, int16_t s, int16_t d);
void StretchOpenVertical(TransitionContext& c, int16_t s, int16_t d);
void StretchOpenHorizontal(TransitionContext& c, int16_t s, int16_t d);
void StretchFromLeft(TransitionContext& c, int16_t s, int16_t d);
void StretchFromRight(TransitionContext& c, int16_t s, int16_t d);
void StretchFromTop(TransitionContext& c, int16_t s, int16_t d);
void StretchFromBottom(TransitionContext& c, int16_t s, int16_t d);
void StretchFromTopLeft(TransitionContext& c, int16_t s, int16_t d);
void StretchFromTopRight(TransitionContext& c, int16_t s, int16_t d);
void StretchFromBottomLeft(TransitionContext& c, int16_t ignored, int16_t s, int16_t d);
void StretchFromBottomRight(TransitionContext& c, int16_t s, int16_t d);

}  // namespace pictavo::transitions
