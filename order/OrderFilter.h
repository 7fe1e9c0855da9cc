#pragma once
// The order filter: every part of the job passes through the part loop's default hooks
// unchanged, with the job and document tickets kept up to date.
#include "framework/PartLoopFilter.h"

class COrderFilter final : public CPartLoopFilter {};
