vs.1.1
m4x4	r2, v0, c0
mov	oPos, r2
dp3	r7.xyz, v1,  c7.xyz
add	r7.xyz, r7,  r7
mad	r7.xyz, r7, -v1, c7.xyz
dp3	r7.w, c6.xyz, r7
max	r7.w, r7.w, c4.x
mul	r7.w, r7.w, r7.w
mul	r7.w, r7.w, r7.w
mul	r7.w, r7.w, r7.w
mul	oD1.rgb, r7.www, c8
mov	oD0.rgb, c5
mov	oD0.a, c10.a
mov	oT0, v2
