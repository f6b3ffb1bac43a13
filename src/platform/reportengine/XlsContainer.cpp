#include "platform/reportengine/XlsContainer.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
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

bool MakeWorkbookFile(const unsigned char* workbook, std::size_t size, std::string& file, std::string& error)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });

    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* container = memory ? gsf_outfile_msole_new(memory) : nullptr;
    GsfOutput* stream = container ? gsf_outfile_new_child(container, "Workbook", FALSE) : nullptr;
    bool made = stream != nullptr && gsf_output_write(stream, size, workbook);
    if (made && size < MinimumWorkbookStream) {
        const std::vector<unsigned char> padding(MinimumWorkbookStream - size, 0);
        made = gsf_output_write(stream, padding.size(), padding.data());
    }
    if (stream)
        made = gsf_output_close(stream) && made;
    if (container)
        made = gsf_output_close(GSF_OUTPUT(container)) && made;
    // Closing the container closes its output as well; the memory stays until the output goes.
    if (made && memory) {
        const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
        const gsf_off_t length = gsf_output_size(memory);
        made = bytes != nullptr && length > 0;
        if (made)
            file.assign(reinterpret_cast<const char*>(bytes), std::size_t(length));
    }
    if (!made)
        error = "the workbook cannot be made";
    Unref(stream);
    Unref(container);
    Unref(memory);
    return made;
}

} // namespace jornix
