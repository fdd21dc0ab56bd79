#include "cli/ConversionPlan.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "cli/InputFiles.h"
#include "cli/OutputPath.h"
#include "image/UpscalerCatalogue.h"
#include "io/Paths.h"
#include "io/codec/BuiltInCodecs.h"

namespace loom::cli {

namespace {

// A batch writes several results under -o, so it must name a folder. A missing one is made, but
// not when its name looks like an image file: that is a slip for a single output, not a folder.
void requireOutputFolder(const std::string& output) {
    std::error_code ignored;
    if (std::filesystem::is_directory(output, ignored)) return;
    const std::string rule = ", but with several inputs or a folder it must name a folder";
    if (std::filesystem::exists(output, ignored))
        throw CliUsageExc("-o " + output + " is a file" + rule);
    const std::string extension = getPathExtension(output);
    if (isBuiltInReadExtension(extension) || builtInCodecs().hasTarget(extension))
        throw CliUsageExc("-o " + output + " looks like an image file" + rule);
}

std::string stemOf(const std::string& path) {
    return std::filesystem::path(path).replace_extension().string();
}

// Whether the file, found in a folder, is named as a result of another image found beside it.
bool isEarlierResult(const InputFile& file, const std::set<std::string>& folderStems) {
    if (!file.inFolder) return false;
    const std::string stem = stemOf(file.path);
    for (const UpscalerInfo& info : upscalerCatalogue()) {
        const std::string name = info.name;
        if (stem.size() > name.size() &&
            stem.compare(stem.size() - name.size(), name.size(), name) == 0 &&
            folderStems.count(stem.substr(0, stem.size() - name.size())))
            return true;
    }
    return false;
}

}  // namespace

ConversionPlan planConversions(const CliOptions& options) {
    ConversionPlan plan;
    plan.batch = options.inputs.size() > 1 ||
                 std::any_of(options.inputs.begin(), options.inputs.end(), isInputFolder);
    if (plan.batch && !options.atlas.empty())
        throw CliUsageExc("--atlas describes one sheet: give one image file, not several or a folder");
    if (plan.batch && !options.output.empty()) {
        requireOutputFolder(options.output);
        plan.outputFolder = options.output;
    }
    const std::string folder = plan.outputFolder.empty() || plan.outputFolder.back() == '/'
                                   ? plan.outputFolder
                                   : plan.outputFolder + "/";
    const std::string upscalerName = upscalerById(options.upscaler).name;
    std::map<std::string, std::string> inputOfResult;
    const InputList inputs = listInputFiles(options.inputs, options.recursive);
    plan.notes = inputs.notes;
    std::set<std::string> folderStems;
    if (options.output.empty())
        for (const InputFile& file : inputs.files)
            if (file.inFolder) folderStems.insert(stemOf(file.path));
    for (const InputFile& file : inputs.files) {
        if (isEarlierResult(file, folderStems)) continue;
        Conversion conversion{file.path, {}, file.error};
        if (conversion.error.empty()) {
            conversion.output = outputPathFor(
                file.path, upscalerName,
                plan.batch && !folder.empty() ? folder + file.subfolder : options.output, plan.batch);
            const auto [earlier, first] =
                inputOfResult.emplace(getCanonicalPath(conversion.output), file.path);
            if (!first)
                conversion.error =
                    "its result " + conversion.output + " would replace that of " + earlier->second;
        }
        plan.conversions.push_back(std::move(conversion));
    }
    return plan;
}

}  // namespace loom::cli
