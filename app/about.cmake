# The About box (GUI library).
