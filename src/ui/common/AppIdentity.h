#pragma once

// Who the program is to the desktop: its name, version, icon, and the id of its desktop entry,
// by which Wayland compositors and task bars match its windows to the menu entry.
void setApplicationIdentity();
