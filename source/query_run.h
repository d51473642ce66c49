#pragma once
// A preview and a generation run on the open connection, from the query
// text to the result: what the page's Fetch and Generate handlers and the
// command line's preview and generate commands all call.

#include <functional>
#include <string>

#include "engine/generation_job.h"
#include "engine/result_source.h"
#include "odbc/odbc_api.h"
#include "source/odbc_result_source.h"
#include "source/preview.h"

namespace tallowick {

inline constexpr const char* kInvalidPreviewQueryMessage =
    "Invalid Query, Please Enter Valid SELECT Query";
inline constexpr const char* kInvalidGenerateQueryMessage =
    "Invalid Query, Please Enter Valid SELECT  Query";
inline constexpr const char* kDatabaseConnectedMessage = "Database connected...";
inline constexpr const char* kTableListFailedMessage = "Unable To Get Table List";

// "PDB \"Orders.pdb\" Generated At /out/ \n\nClick View Log to see PDB details"
std::string GeneratedMessage(const std::string& pdbName, const std::string& outputFolder);
// The message when the run failed: what failed, the rows read and, after
// a blank line, the driver's diagnostic line when there is one.
std::string GenerationFailedMessage(const GenerationResult& result);

// Called once the query is prepared and the run starts (the page shows its
// wait window here).
using RunStarted = std::function<void()>;

struct PreviewRun {
  std::string
      message;  // why nothing ran ("Only SELECT ...", "Invalid Query, ..."); empty when it ran
  // The query ran but failed: its execution failed (the headings were
  // given, no rows) or a fetch failed partway (the rows before it were given).
  bool failed = false;
  std::string driverDiagnostic;  // the driver's word on a refused or failed query
  PreviewResult result;
};

// The page's message for a failed preview: that the query could not be
// executed, or after how many rows reading failed.
std::string PreviewFailedMessage(const PreviewRun& run);

// The query check, then the query prepared for a preview, then FillPreview.
PreviewRun RunPreview(SQLHDBC connection, const std::string& query, PreviewSink& sink,
                      NoticeSink& notices, ProgressSink* progress = nullptr,
                      const RunStarted& started = {}, FetchMode mode = FetchMode::Absolute);

struct GenerationRun {
  std::string message;  // "Invalid Query, Please Enter Valid SELECT  Query" when refused
  std::string driverDiagnostic;
  int generated = 0;  // what Generate returned: 1 when the PDB and its Helper file exist
  GenerationResult result;
};

// Prepares the query and runs a GenerationJob on it. `request` has passed
// CheckGenerationInputs; its column count is set here from the query.
GenerationRun RunGeneration(SQLHDBC connection, const std::string& query, GenerationRequest request,
                            NoticeSink& notices, ProgressSink* progress = nullptr,
                            const RunStarted& started = {}, FetchMode mode = FetchMode::Absolute);

}  // namespace tallowick
