// The reference server's parsers: a request target and an upload body. The input's
// first line is the Content-Type, the rest the body; a parsed upload's content lies
// inside the body.

#include "fuzz_util.h"
#include "request_parsing.h"

#include <cstdint>
#include <string_view>

using namespace vodirev;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::AbsoluteArtifactPrefix(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const server::RequestTarget target = server::parseTarget(input);
    (void)target.param("fn");
    const std::size_t line = input.find('\n');
    const std::string_view type = input.substr(0, line);
    const std::string_view body =
        line == std::string_view::npos ? std::string_view() : input.substr(line + 1);
    const auto upload = server::parseUpload(body, server::multipartBoundary(type));
    if (upload && !upload->content.empty()) {
        fuzz::Check(
            upload->content.data() >= body.data() &&
                upload->content.data() + upload->content.size() <= body.data() + body.size(),
            "upload content outside the body");
    }
    return 0;
}
