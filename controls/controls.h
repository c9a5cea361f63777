#pragma once
// Makes the framed controls known to window descriptions.
void RegisterFramedControls();
