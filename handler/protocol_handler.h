// ProtocolHandler: the object through which the browser reaches the library, one per request.
// Start writes the page head into a temporary file; each Read either performs one building
// step (and returns E_PENDING) or streams the next chunk of the finished file; Terminate and
// Abort release everything the request owns and delete the file. A browser may call back from
// inside the handler's sink calls (Read, UnlockRequest, Terminate, its last Release): the sink is
// called only between steps, and the object lives until its outermost call has returned.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "act/act_application.h"
#include "act/act_data_parser.h"
#include "handler/html_dumper.h"
#include "handler/html_menu.h"
#include "handler/module_lock.h"
#include "handler/sink_calls.h"
#include "render/page_generator.h"
#include "resources/html_error.h"
#include "platform/com_ptr.h"
#include "platform/file_handle.h"
#include "platform/temp_file.h"
#include "platform/urlmon.h"

namespace vn {

class ProtocolHandler final : public IInternetProtocol {
 public:
  ProtocolHandler();
  ~ProtocolHandler();
  ProtocolHandler(const ProtocolHandler&) = delete;
  ProtocolHandler& operator=(const ProtocolHandler&) = delete;

  // IUnknown: the object starts with one reference and deletes itself at the last Release.
  HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG AddRef() override;
  ULONG Release() override;

  // IInternetProtocolRoot
  HRESULT Start(LPCWSTR szUrl, IInternetProtocolSink* pOIProtSink, IInternetBindInfo* pOIBindInfo,
                DWORD grfPI, HANDLE_PTR dwReserved) override;
  HRESULT Continue(PROTOCOLDATA* pProtocolData) override;
  HRESULT Abort(HRESULT hrReason, DWORD dwOptions) override;
  HRESULT Terminate(DWORD dwOptions) override;
  HRESULT Suspend() override;
  HRESULT Resume() override;

  // IInternetProtocol
  HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  HRESULT Seek(std::int64_t dlibMove, DWORD dwOrigin, std::uint64_t* plibNewPosition) override;
  HRESULT LockRequest(DWORD dwOptions) override;
  HRESULT UnlockRequest() override;

 private:
  HRESULT StartRequest(const std::string& url);
  HRESULT ReadRequest(void* pv, ULONG cb, ULONG* pcbRead);
  HRESULT StreamChunk(void* pv, ULONG cb, ULONG* pcbRead);

  void Trace(const std::string& text);
  bool ParseURL(const std::string& url);
  bool IsCommand(int commandId) const;

  // Command preparation (inside Start) and one building step (inside Read) of the commands
  // that assemble their page from generators; a step may end the page with WriteError.
  void PrepareCommand();
  void PrepareRubric();
  void BuildStep();
  void BuildRubricStep();
  // One step of the current entry's generator, of the kind its format asks for.
  struct GeneratorKind;
  static const GeneratorKind* KindOfFormat(int format);
  void EntryStep(const clDaten& entry, const GeneratorKind& kind);
  // Writes the generator's next piece into the page.
  void DumpNextPiece();
  // Moves on to the next data entry, or completes the page after the last one.
  void Advance();

  void WriteError(int id, const std::string& detail,
                  const std::optional<PendingFailure>& failure = std::nullopt);
  void CompletePage();
  // Reports an unexpected failure as message 199 in the page; when even that fails, gives the
  // request up (FailRequest) and returns false.
  bool ReportFailure(const std::string& where, long number, const std::string& description);
  // Ends a request whose page cannot be delivered: everything released, file deleted, the
  // failure reported to the sink.
  void FailRequest();
  // Everything the request owns: ReleaseObjects, then the read file is closed and the page file
  // deleted.
  void EndRequest();
  void ReleaseObjects();

  // The sink calls are queued, and made by MakeSinkCalls when the outermost Start or Read has
  // finished its step (see SinkCalls); a call from inside a sink call only queues.
  void ReportProgress(ULONG status, const std::string& text);
  // The same for a text that lives as long as the program (a literal), kept without a copy.
  void ReportStaticProgress(ULONG status, const char* text);
  void ReportData(DWORD flags, ULONG progress, ULONG progressMax);
  void ReportResult(HRESULT result, DWORD error, const std::string& text);
  void MakeSinkCalls();

  ModuleLock lock_;
  std::atomic<ULONG> references_{1};

  ComPtr<IInternetProtocolSink> sink_;
  SinkCalls sinkCalls_;
  bool makingSinkCalls_ = false;
  TempFile pageFile_;
  FileHandle readFile_;
  bool downloadFinished_ = false;
  bool pageComplete_ = false;
  bool started_ = false;  // between Start and Terminate/Abort
  std::string command_;
  int commandId_ =
      0;  // the string id (1101 info, 1102 rubrik, 1103 test) the command matches, or 0
  std::string parameter_;
  std::unique_ptr<clHTMLDumper> dumper_;
  // The info page of the command info, or the generator of the current data entry: created
  // when its entry is reached and released when it is ready.
  std::unique_ptr<PageGenerator> generator_;
  std::string piece_;  // the generator's current piece, its capacity kept for the next
  std::unique_ptr<clHTMLMenu> menu_;
  std::unique_ptr<clACTDataParser> parser_;
  std::unique_ptr<clACTApplication> act_;
  std::unique_ptr<clHTMLError> error_;
  int currentEntry_ = 0;
  std::string currentQuery_;
  std::string currentTitle_;
  std::string currentConnection_;
};

}  // namespace vn
