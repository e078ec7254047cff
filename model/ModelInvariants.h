#pragma once
// The structural rules every operation on the song model keeps. The editor checks them
// after each commit, undo and redo in debug builds, and the tests after every step.
//
// Track: every segment sits in exactly one bucket list; every chain runs from a head in
// bucket position/1920 to a tail in bucket (position+length-1)/1920, one segment per bucket,
// all with the same values and selection flag; the bucket array ends with a used bucket;
// the selection holds each selected head once and nothing else.
// Project: the time lists are non-empty, strictly sorted and start at 0, with tempos and
// signatures that keep the arithmetic defined; every track holds its own invariants.
//
// The result names the first fault found; the walk costs O(segments) and allocates, so it
// belongs in checks, not in the render loop.

#include "model/Result.h"

class CProject;
class CTrack;

Result CheckInvariants(const CTrack& track);
Result CheckInvariants(const CProject& project);
