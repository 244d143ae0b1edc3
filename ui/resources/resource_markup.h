// A resource markup: the tables that switchable resources and markup names
// are looked up in, written as a skin file of their own:
//   <Resource>
//     <Image key="night" value="file='Image/Night.png' corner='4,4,4,4'" />
//     <Color key="dark" value="#FF101010" />
//     <Markup name="Layout/Panel.xml" file="Layout/PanelNight.xml" />
//   </Resource>
// A window's markup names it with a top-level <Resource source="..."/>.
// No Windows calls here.
#pragma once

#include "ui/markup/markup_node.h"
#include "ui/resources/resource_tables.h"

namespace SkinUI {

// Enters every entry under the root into the tables; an entry without its
// key (or name) is skipped, a later entry of the same key replaces one
// before it.
void LoadResourceMarkup(CMarkupNode root, ResourceTables& tables);

}  // namespace SkinUI
