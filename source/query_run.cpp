#include "source/query_run.h"

#include "source/generation_checks.h"

namespace tallowick {

std::string GeneratedMessage(const std::string& pdbName, const std::string& outputFolder) {
  return "PDB \"" + pdbName + ".pdb\" Generated At " + outputFolder +
         " \n\nClick View Log to see PDB details";
}

std::string GenerationFailedMessage(const GenerationResult& result) {
  std::string message = "The PDB was not generated";
  if (!result.failed.empty()) message += ": " + result.failed;
  message += "; rows read: " + std::to_string(result.rowsRead);
  if (!result.diagnostic.empty()) message += "\n\n" + result.diagnostic;
  return message;
}

std::string PreviewFailedMessage(const PreviewRun& run) {
  if (!run.result.executed) return "The query could not be executed";
  return "The query failed while its rows were read; rows read: " + std::to_string(run.result.rows);
}

PreviewRun RunPreview(SQLHDBC connection, const std::string& query, PreviewSink& sink,
                      NoticeSink& notices, ProgressSink* progress, const RunStarted& started,
                      FetchMode mode) {
  PreviewRun run;
  if (!IsSelectQuery(query)) {
    run.message = kNotSelectMessage;
    return run;
  }
  OdbcResultSource source(connection, query, DescribeUse::Preview, mode);
  if (!source.Ready()) {
    run.message = kInvalidPreviewQueryMessage;
    run.driverDiagnostic = source.Diagnostic();
    return run;
  }
  if (started) started();
  run.result = FillPreview(source, source.ColumnCount(), sink, notices, progress);
  run.failed = !run.result.executed || run.result.fetchFailed;
  if (run.failed) run.driverDiagnostic = run.result.diagnostic;
  return run;
}

GenerationRun RunGeneration(SQLHDBC connection, const std::string& query, GenerationRequest request,
                            NoticeSink& notices, ProgressSink* progress, const RunStarted& started,
                            FetchMode mode) {
  GenerationRun run;
  OdbcResultSource source(connection, query, DescribeUse::Generation, mode);
  if (!source.Ready()) {
    run.message = kInvalidGenerateQueryMessage;
    run.driverDiagnostic = source.Diagnostic();
    return run;
  }
  if (started) started();
  request.columnCount = source.ColumnCount();
  GenerationJob job(notices, progress);
  run.generated = job.Generate(source, request);
  run.result = job.Result();
  return run;
}

}  // namespace tallowick
