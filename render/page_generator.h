// PageGenerator: what the protocol handler drives to build a page, one piece of HTML per
// building step: the generators of a rubric's data entries (record card, hierarchical table,
// info block) and the info page.
#pragma once

#include <string>

#include "resources/html_error.h"

namespace vn {

class clACTDataParser;

// One data entry as a generator starts from it, with the places the page asks for. A generator
// takes what it needs: the info block only the resource path.
struct GeneratorEntry {
  std::string title;
  std::string connection;
  std::string query;
  clACTDataParser* parser = nullptr;  // shared, not owned
  std::string tableIcon;
  std::string resourcePath;  // empty: the library folder
  std::string tableId;       // makes the element ids unique in the page
};

class PageGenerator {
 public:
  virtual ~PageGenerator() = default;

  // Prepares the generator; false when the entry cannot be shown (the error is recorded).
  virtual bool Init(const GeneratorEntry& entry) = 0;
  // The next piece of HTML.
  virtual std::string GetNext() = 0;
  // The next piece appended to `out`, a buffer the caller keeps from piece to piece; a
  // generator of many small pieces builds them there instead of in a string of their own.
  virtual void AppendNext(std::string& out) { out += GetNext(); }
  virtual bool Ready() const = 0;
  virtual int ErrNumber() const = 0;
  virtual std::string ErrDescription() const = 0;

  bool Failed() const { return ErrNumber() != clHTMLError::kNoError; }
};

}  // namespace vn
