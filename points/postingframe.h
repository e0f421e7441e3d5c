#pragma once

#include "points/posting.h"

class QWidget;

namespace points {

// Runs a posting in its own write transaction. A refusal found inside it is
// shown like the window's other refusals; any other failure rolls back and
// shows its own text in a plain box. Returns true after the commit: the
// success message belongs after this.
bool runPosting(QWidget *parent, core::TDM1 &dm, const PointPosting &p, PostingResult *result);

} // namespace points
