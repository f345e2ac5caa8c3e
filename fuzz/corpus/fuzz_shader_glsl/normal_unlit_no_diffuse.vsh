vs.1.1
m4x4	r2, v0, c0
mov	oPos, r2
mov	oD0.rgba, c4.y
