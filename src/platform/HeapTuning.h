#pragma once

// Keeps the large pixel buffers of a big board in the process's heap once freed. A window at
// 3840 x 2160 needs a 33 MB buffer, which the C library would otherwise take fresh from the
// system and hand back on every size change of a resize drag; touching fresh memory page by
// page then costs more than painting the board. Does nothing where the C library needs no help.
void keepLargeBuffersInHeap();
