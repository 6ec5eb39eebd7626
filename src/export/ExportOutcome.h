#pragma once

// How a run through a recording for a video ended.
enum class ExportOutcome { Done, Failed, Diverged, Stopped };
