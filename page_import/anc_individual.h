#pragma once
// Ancestry and RootsWeb individual page: one "Label: value" fact per line,
// then the parents, one block per marriage with its children, notes and
// sources.
namespace lintora {

// Fills the page scratch record from g.PageLines and files the page itself,
// marriage by marriage, so each child joins the family of the marriage it
// is listed under. Reports its failures ("Problem processing ANC:IND ").
void ProcessIndANC();

}  // namespace lintora
