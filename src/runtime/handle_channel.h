#pragma once
#include "runtime/handle_platform.h"
#include "runtime/text_channel.h"

// Text channels on the platform's handles, with the platform's line end. A
// channel on a standard handle hands on every statement as it ends, so that
// nothing is left waiting when the process ends; one on any other handle
// hands on full buffers, and the rest when WriteToHandle is called. A
// failed or short write leaves DiskWriteError pending.
void OpenHandleChannel(TextChannel& channel, FileHandle handle);
void WriteToHandle(TextChannel& channel);
