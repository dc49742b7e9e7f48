// The result file an HTML editor reads after it started the program to make or change a
// graphic: three lines, key="value" with a line feed each, naming the saved graphic, the HTML
// that previews it and the HTML to put into the page.
#pragma once

#include <cstdint>

#include "framework/core/CString.h"

class CNavBar;

// What the save dialog knows when it finishes a save for the editor.
struct EditorResultRequest {
  bool hostedByEditor = false;
  CString resultPath;       // the command line's "result" switch
  CString imagePath;        // the exported image
  CString stylePath;        // the graphic's style file; may be empty
  CString docFolder;        // the command line's document folder; empty when none
  int editorKind = 0;       // 1 adds a cache-defeating suffix to the preview URL
  std::uint32_t tickCount = 0;
  // Image-editing mode: the editor's window was named and the command line names a file of
  // graphic type switch 12, which then is the image.
  bool hasEditorWindow = false;
  CString commandLineFile;
  int graphicTypeSwitch = 0;
  // The bar in navigation bar mode, else null.
  CNavBar* navBar = nullptr;
};

// "folder name\file name" of a style path (a lone backslash for an empty one).
CString MakeSnippetID(const CString& stylePath);
// The image as the document folder's page reaches it, as a URL: relative (with slashes), else a
// file URL ("file:///C:/My%20Site/nav.gif", percent-encoded where needed).
CString MakeEditorImageURL(const CString& imagePath, const CString& docFolder);
// The three lines.
CString BuildEditorResultText(const CString& snippetID, const CString& previewHTML, const CString& liveHTML);
// Writes the result when everything it needs is there and the result file exists; it never
// creates the file, and the file ends after the three lines. Nothing is reported.
bool WriteEditorResult(const EditorResultRequest& request);
