#include "platform/reportengine/XlsContainer.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <mutex>
#include <vector>

namespace jornix {

namespace {

void Unref(void* object)
{
    if (object)
        g_object_unref(object);
}

} // namespace

bool WriteWorkbookFile(const std::string& path, const unsigned char* workbook, std::size_t size,
                       std::string& error)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });

    GError* failure = nullptr;
    GsfOutput* file = gsf_output_stdio_new(path.c_str(), &failure);
    if (!file) {
        error = failure && failure->message ? failure->message : "the file cannot be made";
        if (failure)
            g_error_free(failure);
        return false;
    }
    GsfOutfile* container = gsf_outfile_msole_new(file);
    GsfOutput* stream = container ? gsf_outfile_new_child(container, "Workbook", FALSE) : nullptr;
    bool written = stream != nullptr && gsf_output_write(stream, size, workbook);
    if (written && size < MinimumWorkbookStream) {
        const std::vector<unsigned char> padding(MinimumWorkbookStream - size, 0);
        written = gsf_output_write(stream, padding.size(), padding.data());
    }
    if (stream)
        written = gsf_output_close(stream) && written;
    if (container)
        written = gsf_output_close(GSF_OUTPUT(container)) && written;
    // Closing the container closes its file as well.
    const bool closed = gsf_output_is_closed(file) || gsf_output_close(file);
    const GError* fault = gsf_output_error(file);
    written = closed && written && !fault;
    if (!written)
        error = fault && fault->message ? fault->message : "the file cannot be written";
    Unref(stream);
    Unref(container);
    Unref(file);
    return written;
}

} // namespace jornix
