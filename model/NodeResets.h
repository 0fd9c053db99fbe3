#pragma once

// Resets and exchanges of node values on the project tree, used by the group-entry window.
// Qt-free, so that they are tested without windows.
class NodeResets {};
