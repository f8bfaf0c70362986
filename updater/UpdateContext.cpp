#include "updater/UpdateContext.h"

namespace vt {

const IProfile& UpdateContext::Server() const {
    static const MemoryProfile kNothing{std::string()};
    if (!Signed()) return services.serverIni;
    return verifiedServer ? *verifiedServer : kNothing;
}

bool ReplaceLocalDescription(UpdateContext& ctx) {
    IFileSystem& files = ctx.services.files;
    if (!ctx.Signed()) return files.Copy(ctx.paths.serverIni, ctx.paths.localIni);
    if (!ctx.verifiedServer) return false;
    const std::string& bytes = ctx.verifiedServer->Bytes();
    const std::string fresh = ctx.paths.localIni + ".new";
    std::unique_ptr<IFileWriter> out = files.Create(fresh);
    const bool written = out && out->Write(bytes.data(), bytes.size()) && out->Close();
    out.reset();
    if (written && files.Replace(fresh, ctx.paths.localIni)) return true;
    files.Remove(fresh);
    return false;
}

}  // namespace vt
