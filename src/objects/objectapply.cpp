#include "objects/objectapply.h"

#include "core/state.h"
#include "engine/settingsfile.h"

namespace objects {

void applyObjects(core::State& state) {
    state.hooks.call(state.hooks.applydata);
    if (state.arrangeParamsOnApply) state.hooks.call(state.hooks.arrangeParams);
    state.hooks.call(state.hooks.collectionTakeOver);
    // Without a folder of its own (a state made for a test or a drawing) nothing is written.
    if (!state.configFolder.isEmpty() && state.configFolderWritable) engine::savesettings(state);
    state.hooks.call(state.hooks.redrawall);
}

} // namespace objects
