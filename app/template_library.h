// The template library: the template folders in the template list, their
// previews, the editor boxes and saving them back, and the instructions page.
#pragma once

namespace velmora::app {

// Adds one template-list item per folder under the template root, in the
// order the file search gives them; names beginning with "." are skipped, and
// so are names and links that lead out of the root.
void ListTemplates();
void SelectFirstTemplate();

// Whether the selected template's folder holds its template file, or its preview file.
bool TemplateFileExists();
bool PreviewFileExists();

// Opens the selected template's preview file in the preview browser, whether
// or not it exists; the page stays as it is. A preview that is no regular file
// inside its folder is not opened: the browser goes blank and the log says why.
void ShowPreview();

// Page 4 with the maker's instructions page.
void ShowInstructions();

// Empties the name, head, loop and tail boxes; nothing on disk changes.
void ClearTemplateEditor();

// Writes head + loop-start marker + loop + loop-end marker + tail as the
// template file of the folder the name box names, creating that one folder
// level when needed, then lists the templates anew and selects the first.
// A name or a linked folder that would lead out of the template root, or a
// failed write (a link at the file's name is replaced, never written through), is
// reported as a failure and leaves list and boxes as they are.
void SaveTemplate();

// Handlers of the template-list selection and the two template page switches.
void TemplateSelected();
void ShowPreviewPage();
void ShowTemplateEditorPage();

}  // namespace velmora::app
