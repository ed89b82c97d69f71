// Request: one varnolis request as a browser drives it, whatever component interface it comes
// through. Start writes the page head and prepares the command; each Read then performs one
// building step (kPending) or, once the page is complete, delivers its next chunk blank-padded to
// the size asked for (kOk), until the page is delivered (kFinished); Terminate and Abort release
// everything the request owns and delete its file. A browser may call back from inside the sink's
// calls (Read, UnlockRequest, Terminate, its last Release): the calls are queued and made only
// between steps, and the owner keeps the request alive until its outermost call has returned.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>

#include "handler/request_sink.h"
#include "handler/sink_calls.h"

namespace vn {

class PageBuilder;

class Request {
 public:
  // Switches the debug log of the calling thread as the setting "Debug" says.
  Request();
  ~Request();
  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;

  // `url` is UTF-8 (null for none); `sink` (null for none) is told of the request until
  // Terminate. kOk, or kDownloadFailure when no page can be written.
  RequestResult Start(const char* url, RequestSink* sink);
  // `count` is set to the bytes delivered into `buffer`.
  RequestResult Read(void* buffer, std::uint32_t size, std::uint32_t& count);
  RequestResult Terminate(std::uint32_t options);
  RequestResult Abort(std::int32_t reason, std::uint32_t options);

  // What the protocol does not offer: kNotImplemented.
  RequestResult Continue();
  RequestResult Suspend();
  RequestResult Resume();
  RequestResult Seek();
  RequestResult LockRequest();
  RequestResult UnlockRequest();

 private:
  RequestResult StartRequest(const char* url);
  RequestResult ReadRequest(void* buffer, std::uint32_t size, std::uint32_t& count);
  RequestResult StreamChunk(void* buffer, std::uint32_t size, std::uint32_t& count);

  // Shows an unexpected failure as message 199 in the page; when the page cannot take it,
  // gives the request up (FailRequest) and returns false.
  bool ReportFailure(const char* where, const std::exception& failure);
  // Ends a request whose page cannot be delivered: everything released, file deleted, the
  // failure reported to the sink.
  void FailRequest();
  // Releases everything the request owns and deletes the page file.
  void EndRequest();
  // Makes the queued sink calls, when the outermost Start or Read has finished its step; a
  // call from inside a sink call only queues.
  void MakeSinkCalls();

  RequestSink* sink_ = nullptr;
  SinkCalls sinkCalls_;
  bool makingSinkCalls_ = false;
  std::unique_ptr<PageBuilder> page_;
  bool started_ = false;  // between Start and Terminate/Abort
  bool downloadFinished_ = false;
};

}  // namespace vn
