vs.1.1
mov	oT0, v2
mov	a0.x, v3.y
m4x4	r2, v0, c[a0.x + 0]
mov	oPos, r2
mov	oD0.rgba, v1
